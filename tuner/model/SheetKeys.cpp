#include "model/SheetKeys.h"

namespace tuner {
namespace {

KeyAction Select(int page) {
    return {KeyAction::Kind::kSelectPage, page};
}

int FunctionKeyPage(SheetKey key) {
    switch (key) {
        case SheetKey::kF5:
            return 0;
        case SheetKey::kF6:
            return 1;
        case SheetKey::kF7:
            return 2;
        case SheetKey::kF8:
            return 3;
        case SheetKey::kF9:
            return 4;
        case SheetKey::kF10:
            return 5;
        default:
            return -1;
    }
}

KeyAction DrawTestPageAction(SheetKey key, int currentPage, int pageCount) {
    const int functionPage = FunctionKeyPage(key);
    if (functionPage >= 0) return functionPage < pageCount ? Select(functionPage) : KeyAction{};
    if (key == SheetKey::kComma && currentPage > 0) return Select(currentPage - 1);
    if (key == SheetKey::kFullStop && currentPage + 1 < pageCount) return Select(currentPage + 1);
    return {};
}

// The image-data page only knows its way back to the first page.
KeyAction ImageDataPageAction(SheetKey key, int currentPage) {
    if (key == SheetKey::kComma && currentPage == 1) return Select(0);
    return {};
}

}  // namespace

KeyAction CommonKeyAction(SheetKey key, PageKind onPage, int currentPage, int pageCount) {
    if (key == SheetKey::kEscape) return {KeyAction::Kind::kAskToExit, -1};
    return onPage == PageKind::kDrawTest ? DrawTestPageAction(key, currentPage, pageCount)
                                         : ImageDataPageAction(key, currentPage);
}

}  // namespace tuner
