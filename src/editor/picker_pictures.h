// The folder picker's image list: eight 16×16 pictures drawn with QPainter
// (five folder colours for the subfolder states, two check boxes for the
// folder state, and the legend's copy of picture 0), plus the combined look
// of a tree node: its check box to the left of its folder.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <array>

namespace vorlo {

// Picture `index` of the image list:
// 0 green folder with a plus, 1 red folder with a plus, 2 green folder,
// 3 yellow folder, 4 grey folder, 5 ticked check box, 6 empty check box,
// 7 the same as 0. Any other index gives an empty picture.
QPixmap DrawDirSelPicture(int index);

// The pictures drawn once. Pixmaps need the GUI application, so the owner
// (a window) makes its own set instead of sharing a static one.
class TDirSelImages {
 public:
  static constexpr int kCount = 8;
  static constexpr QSize kPictureSize{16, 16};
  // A node shows two pictures side by side.
  static constexpr QSize kNodeIconSize{32, 16};

  TDirSelImages();

  const QPixmap& Picture(int index) const;
  // `sub` 0..4 (a folder picture), `fol` 5 or 6 (a check box) or anything
  // else for none (the tree's root). Selected items keep the same look.
  const QIcon& NodeIcon(int sub, int fol) const;

 private:
  std::array<QPixmap, kCount> pictures_;
  std::array<std::array<QIcon, 3>, 5> nodeIcons_;
};

}  // namespace vorlo
