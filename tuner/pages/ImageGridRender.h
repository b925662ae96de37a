// Draws a computed frame as the image page shows it: axis labels with pin numbers and channel
// indexes, one cell per value with its text and colours, and the key strip. Works on an image,
// so it can run off the user-interface thread.
#pragma once

#include <QImage>
#include <QSize>
#include <vector>

#include "model/ChannelInfo.h"
#include "model/ImageProcessor.h"

namespace tuner::image {

inline constexpr int kFontSteps = 11;  // 0..10; the magnifier uses up to three above the grid's 9
int FontPoints(int step);

struct GridStyle {
    bool showValue = true;
    bool colourScale = false;
    bool calTarget = false;
    int thresholdLow = 3;
    int thresholdHigh = 15;
    int fontStep = 4;
    std::vector<bool> markedRows, markedColumns;  // by grid row and grid column
};

// Label rows above the grid and label columns left of it.
inline constexpr int kLabelRows = 2, kLabelColumns = 2;

QImage RenderGrid(const GridSnapshot& s, const GridStyle& style, const ChannelInfo& channels,
                  QSize size);
QImage RenderKeyStrip(const GridSnapshot& s, const GridStyle& style, QSize size);

// The cross-hair on a grid cell and, beside the pointer, a 300 x 240 box with the 9 rows and 10
// columns around it in a font three steps larger; the box flips to the other side near the edges.
void DrawMagnifier(QImage& image, const GridSnapshot& s, const GridStyle& style, int row,
                   int column, QPoint pointer);

// The grid cell under a point of an image of `size`: row and column of the grid (the "WT" column
// is column 0), or false for a label, a point outside, or an image without area.
bool CellAt(const GridSnapshot& s, QSize size, QPoint point, int& row, int& column);

}  // namespace tuner::image
