#include "pages/ImageGridRender.h"

#include <QPainter>
#include <algorithm>
#include <array>

#include "model/ImageColours.h"

namespace tuner::image {
namespace {

constexpr std::array<int, kFontSteps> kPoints{5, 6, 7, 8, 9, 10, 11, 12, 14, 16, 18};

QColor ToQColor(Rgb c) {
    return QColor(c.r, c.g, c.b);
}

// The sensor pin of a channel: chip 0's pins first, then chip 1's; second is true for chip 1.
int PinOf(int channel, const std::array<PinRange, 4>& pins, bool& second) {
    const int first = pins[0].last >= pins[0].first ? pins[0].last - pins[0].first + 1 : 0;
    second = channel >= first;
    return second ? pins[1].first + channel - first : pins[0].first + channel;
}

bool CalibrationTargetRow(int tx, const ChannelInfo& c) {
    for (uint8_t target : c.calTargets)
        if (target + c.calTargetOffset == tx) return true;
    return false;
}

bool MapBitClear(const uint8_t* map, size_t bytes, int channel) {
    const size_t at = static_cast<size_t>(channel) / 8;
    return at < bytes && (map[at] & (1u << (channel % 8))) == 0;
}

}  // namespace

int FontPoints(int step) {
    return kPoints[static_cast<size_t>(std::clamp(step, 0, kFontSteps - 1))];
}

bool CellAt(const GridSnapshot& s, QSize size, QPoint point, int& row, int& column) {
    if (size.width() <= 0 || size.height() <= 0 || point.x() < 0 || point.y() < 0) return false;
    row = point.y() * (s.rows + kLabelRows) / size.height() - kLabelRows;
    column = point.x() * (s.columns + 1 + kLabelColumns) / size.width() - kLabelColumns;
    return row >= 0 && row < s.rows && column >= 0 && column < s.columns + 1;
}

QImage RenderGrid(const GridSnapshot& s, const GridStyle& style, const ChannelInfo& channels,
                  QSize size) {
    QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image.fill(Qt::black);
    const int rows = s.rows + kLabelRows, columns = s.columns + 1 + kLabelColumns;
    const double w = static_cast<double>(image.width()) / columns;
    const double h = static_cast<double>(image.height()) / rows;
    QPainter p(&image);
    QFont font = p.font();
    font.setPointSize(FontPoints(style.fontStep));
    p.setFont(font);
    auto cell = [&](int row, int column) {
        return QRectF(column * w, row * h, w, h).toAlignedRect();
    };
    auto text = [&](QRect r, const QString& t, QColor c) {
        p.setPen(c);
        p.drawText(r, Qt::AlignCenter, t);
    };
    const QColor label(200, 200, 200), second(255, 200, 0), red(255, 0, 0);
    const Geometry& g = s.geometry;

    // Corner and axis labels.
    text(cell(0, 0), QStringLiteral("Pin"), label);
    text(cell(0, kLabelColumns), QStringLiteral("WT"), label);
    text(cell(1, kLabelColumns), QStringLiteral("Ch"), label);
    for (int c = 0; c < s.columns; ++c) {
        const int rx = s.window.firstRx + c;
        bool chip1 = false;
        const int pin = PinOf(rx, channels.rxPins, chip1);
        const QRect at = cell(0, kLabelColumns + 1 + c);
        if (static_cast<size_t>(c + 1) < style.markedColumns.size() && style.markedColumns[c + 1u])
            p.fillRect(at.united(cell(1, kLabelColumns + 1 + c)), QColor(60, 60, 120));
        text(at, QString::asprintf("%02d", pin), chip1 ? second : label);
        text(cell(1, kLabelColumns + 1 + c), QString::asprintf("%02d", rx), red);
    }
    for (int r = 0; r < s.rows; ++r) {
        const bool water = r < g.lead2;
        const int tx = s.window.firstTx + r - g.lead2;
        if (static_cast<size_t>(r) < style.markedRows.size() && style.markedRows[r])
            p.fillRect(cell(kLabelRows + r, 0).united(cell(kLabelRows + r, 1)), QColor(60, 60, 120));
        if (water) {
            text(cell(kLabelRows + r, 0), r == 0 ? QStringLiteral("N") : QString(), label);
            text(cell(kLabelRows + r, 1), QStringLiteral("WR"), label);
            continue;
        }
        bool chip1 = false;
        const int pin = PinOf(tx, channels.txPins, chip1);
        text(cell(kLabelRows + r, 0), QString::asprintf("%02d", pin), chip1 ? second : label);
        text(cell(kLabelRows + r, 1), QString::asprintf("%02d", tx), red);
    }

    // Values.
    for (int r = 0; r < s.rows; ++r) {
        const int tx = s.window.firstTx + r - g.lead2;
        for (int c = 0; c < s.columns; ++c) {
            const int v = s.Value(r, c);
            const QRect at = cell(kLabelRows + r, kLabelColumns + 1 + c);
            if (style.colourScale) p.fillRect(at.adjusted(0, 0, -1, -1), ToQColor(ScaleFill(s, v)));
            if (!style.showValue) continue;
            QColor colour = ToQColor(ValueColour(s, v, style.thresholdLow, style.thresholdHigh));
            if (!s.testMode && c == s.largestColumn[static_cast<size_t>(r)]) colour = red;
            if (!s.testMode && c == s.smallestColumn[static_cast<size_t>(r)])
                colour = ToQColor(kAmber);
            text(at, QString::number(v), colour);
        }
        if (r < g.lead2) continue;
        // Marker frames: calibration-target rows, and channels switched off in the maps.
        if (style.calTarget && CalibrationTargetRow(tx, channels)) {
            p.setPen(QPen(QColor(255, 255, 0), 1));
            p.drawRect(cell(kLabelRows + r, kLabelColumns + 1)
                           .united(cell(kLabelRows + r, kLabelColumns + s.columns))
                           .adjusted(0, 0, -1, -1));
        }
        if (!channels.channelMapsValid) continue;
        p.setPen(QPen(QColor(255, 0, 255), 1));
        for (int c = 0; c < s.columns; ++c) {
            const int rx = s.window.firstRx + c;
            const bool txOff = tx < 128 && MapBitClear(channels.txChannelMap.data(), 16, tx);
            const bool rxOff = MapBitClear(channels.rxChannelMap.data(), 32, rx);
            if (txOff || rxOff)
                p.drawRect(cell(kLabelRows + r, kLabelColumns + 1 + c).adjusted(1, 1, -2, -2));
        }
    }
    return image;
}

QImage RenderKeyStrip(const GridSnapshot& s, const GridStyle& style, QSize size) {
    QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image.fill(Qt::black);
    const int keys = static_cast<int>(s.keys.size());
    if (keys == 0) return image;
    QPainter p(&image);
    const double w = static_cast<double>(image.width()) / keys;
    for (int k = 0; k < keys; ++k) {
        const QRect at = QRectF(k * w, 0, w, image.height()).toAlignedRect();
        p.setPen(QColor(90, 90, 90));
        p.drawRect(at.adjusted(0, 0, -1, -1));
        p.setPen(ToQColor(ValueColour(s, s.keys[static_cast<size_t>(k)], style.thresholdLow,
                                      style.thresholdHigh)));
        p.drawText(at, Qt::AlignCenter, QString::number(s.keys[static_cast<size_t>(k)]));
    }
    return image;
}

void DrawMagnifier(QImage& image, const GridSnapshot& s, const GridStyle& style, int row,
                   int column, QPoint pointer) {
    const int rows = s.rows + kLabelRows, columns = s.columns + 1 + kLabelColumns;
    const double w = static_cast<double>(image.width()) / columns;
    const double h = static_cast<double>(image.height()) / rows;
    QPainter p(&image);
    p.setPen(QPen(QColor(255, 255, 255), 1, Qt::DashLine));
    const double x = (column + kLabelColumns + 0.5) * w, y = (row + kLabelRows + 0.5) * h;
    p.drawLine(QPointF(x, 0), QPointF(x, image.height()));
    p.drawLine(QPointF(0, y), QPointF(image.width(), y));

    constexpr int kBoxWidth = 300, kBoxHeight = 240, kBoxRows = 9, kBoxColumns = 10;
    int left = pointer.x() + 30, top = pointer.y() + 20;
    if (left + kBoxWidth > image.width()) left = pointer.x() - 30 - kBoxWidth;
    if (top + kBoxHeight > image.height()) top = pointer.y() - 20 - kBoxHeight;
    const QRect box(std::max(left, 0), std::max(top, 0), kBoxWidth, kBoxHeight);
    p.fillRect(box, QColor(20, 20, 20));
    p.setPen(QColor(200, 200, 200));
    p.drawRect(box.adjusted(0, 0, -1, -1));
    QFont font = p.font();
    font.setPointSize(FontPoints(std::min(style.fontStep + 3, kFontSteps - 1)));
    p.setFont(font);
    const double cw = static_cast<double>(kBoxWidth) / kBoxColumns;
    const double ch = static_cast<double>(kBoxHeight) / kBoxRows;
    for (int i = 0; i < kBoxRows; ++i)
        for (int j = 0; j < kBoxColumns; ++j) {
            const int r = row - kBoxRows / 2 + i, c = column - kBoxColumns / 2 + j;
            // Grid column 0 is the "WT" column, which carries no value.
            if (r < 0 || r >= s.rows || c < 1 || c > s.columns) continue;
            const int v = s.Value(r, c - 1);
            const QRect at =
                QRectF(box.left() + j * cw, box.top() + i * ch, cw, ch).toAlignedRect();
            if (r == row && c == column) p.fillRect(at, QColor(80, 80, 160));
            p.setPen(ToQColor(ValueColour(s, v, style.thresholdLow, style.thresholdHigh)));
            p.drawText(at, Qt::AlignCenter, QString::number(v));
        }
}

}  // namespace tuner::image
