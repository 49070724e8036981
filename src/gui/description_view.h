// Shows the description of a junk type in a rich-text view: each piece in its
// style and point size, Arial, read-only, scrolled to the top.
#pragma once

#include <vector>

#include "core/description.h"

class QTextEdit;

namespace vorlo {

// Replaces the view's text with `pieces`, makes it read-only and puts the
// insertion point at the start so the view shows the top.
void ShowDescription(QTextEdit& vRE, const std::vector<DescPiece>& pieces);

// The description of `TJ` written into `vRE`.
void REDisplay(QTextEdit& vRE, const TJunkFileObj& TJ, const DescriptionContext& context);

}  // namespace vorlo
