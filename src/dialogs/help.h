// Help topics: short HTML pages shipped with the program, one per help
// context number, opened in the desktop's browser.
#pragma once

namespace vorlo {

// Opens help/<context>.html; does nothing for context 0.
void OpenHelpTopic(int context);

}  // namespace vorlo
