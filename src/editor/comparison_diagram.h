// The comparison lists of the restriction controls: each item shows its
// text with a small red diagram under it, lines for the values that match
// (thick) or not (dotted) and boxes for boundaries that match (filled) or
// not (open).
#pragma once

#include <QComboBox>
#include <QRect>
#include <vector>

class QPainter;
class QPalette;

namespace vorlo {

struct DiagramPart {
  enum Kind { DottedLine, ThickLine, OpenBox, FilledBox };
  Kind kind;
  int x1;
  int x2;  // lines only; a box spans x1 .. x1 + cSiz
  bool operator==(const DiagramPart&) const = default;
};

inline constexpr int cSiz = 4;

struct ComparisonDiagram {
  int yBox = 0;   // top edge of the boxes
  int yLine = 0;  // height of the lines
  std::vector<DiagramPart> parts;  // in drawing order
};

// The diagram of comparison `index` (0 to 4; any other gives no parts) in
// the item rectangle with left L, top T, right R and bottom B (right and
// bottom just outside the item).
ComparisonDiagram DiagramOf(int index, int L, int T, int R, int B);

// Draws one item: its text at the left on the item's background, then the
// diagram in red.
void DrawComparisonItem(QPainter& painter, const QRect& rect, int index, const QString& text, bool selected,
                        const QPalette& palette);

// A drop-down list whose items (and whose closed box) are drawn with their
// diagram; items are 18 pixels high, in Arial of 11 pixels.
class TComparisonBox final : public QComboBox {
  Q_OBJECT

 public:
  explicit TComparisonBox(QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace vorlo
