#include "dialogs/help.h"

namespace vorlo {

void OpenHelpTopic(int) {}

}  // namespace vorlo
