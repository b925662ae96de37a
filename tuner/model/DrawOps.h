// What a draw-test view paints, as plain records: the model decides every line, circle and text,
// and the view only replays them with its toolkit.
#pragma once

#include <string>
#include <vector>

#include "model/DrawStyle.h"

namespace tuner {

struct DrawOp {
    enum class Kind { kLine, kCircle, kText };
    Kind kind = Kind::kLine;
    int x1 = 0, y1 = 0, x2 = 0,
        y2 = 0;  // a line's ends; a circle's centre or a text's origin in x1, y1
    int radius = 0;
    Pen pen;
    std::string text;

    static DrawOp Line(int x1, int y1, int x2, int y2, const Pen& pen) {
        DrawOp op;
        op.x1 = x1, op.y1 = y1, op.x2 = x2, op.y2 = y2, op.pen = pen;
        return op;
    }
    static DrawOp Circle(int x, int y, int radius, const Pen& pen) {
        DrawOp op;
        op.kind = Kind::kCircle;
        op.x1 = x, op.y1 = y, op.radius = radius, op.pen = pen;
        return op;
    }
    // The text's top-left corner at (x, y).
    static DrawOp Text(int x, int y, std::string text, Colour colour) {
        DrawOp op;
        op.kind = Kind::kText;
        op.x1 = x, op.y1 = y, op.pen = {colour, 1}, op.text = std::move(text);
        return op;
    }
};
using DrawOps = std::vector<DrawOp>;

// printf-style formatting into a std::string, for the page's fixed texts.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace tuner
