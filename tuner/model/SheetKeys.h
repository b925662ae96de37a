// The keys that every page of the main sheet understands: Escape asks to leave, F5 to F10, comma
// and full stop move between pages.
#pragma once

namespace tuner {

enum class SheetKey { kEscape, kF5, kF6, kF7, kF8, kF9, kF10, kComma, kFullStop, kOther };

enum class PageKind { kDrawTest, kImageData };

struct KeyAction {
    enum class Kind { kNone, kAskToExit, kSelectPage };
    Kind kind = Kind::kNone;
    int page = -1;  // for kSelectPage

    bool operator==(const KeyAction&) const = default;
};

// What a key pressed on the given page does, with currentPage of pageCount pages shown.
KeyAction CommonKeyAction(SheetKey key, PageKind onPage, int currentPage, int pageCount);

}  // namespace tuner
