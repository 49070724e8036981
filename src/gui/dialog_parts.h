// Pieces the small windows share: their font and the top strip with the
// "Done" button that closes them with OK.
#pragma once

class QDialog;
class QPushButton;
class QVBoxLayout;
class QWidget;

namespace vorlo {

// Arial, 13 pixels.
void SetWindowFont(QWidget& window);

// A window's object name (its placement key), its caption (UTF-8) and the
// shared font.
void SetUpWindow(QWidget& window, const char* name, const char* caption);

// A 28-pixel strip at the top of `layout` with "Done" at its left; Done,
// Enter and Escape close `dialog` with OK.
QPushButton* AddDoneStrip(QDialog& dialog, QVBoxLayout& layout);

}  // namespace vorlo
