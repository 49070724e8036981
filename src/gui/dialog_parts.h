// Pieces the small windows share: their font and the top strip with the
// "Done" button that closes them with OK.
#pragma once

class QDialog;
class QFont;
class QPushButton;
class QVBoxLayout;
class QWidget;

namespace vorlo {

// A font of `family` at `pixels` (the design gives sizes in pixels).
QFont PixelFont(const char* family, int pixels, bool underline = false);
// The windows' font, Arial 13 pixels, unless the window has its own.
void SetWindowFont(QWidget& window, const char* family = "Arial", int pixels = 13);

// A window's object name (its placement key), its caption (UTF-8) and the
// shared font.
void SetUpWindow(QWidget& window, const char* name, const char* caption);

// A 28-pixel strip at the top of `layout` with "Done" at its left; Done,
// Enter and Escape close `dialog` with OK.
QPushButton* AddDoneStrip(QDialog& dialog, QVBoxLayout& layout);

}  // namespace vorlo
