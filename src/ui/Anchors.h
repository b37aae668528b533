// Keeps child controls at fixed distances from chosen edges of their parent.
#pragma once
#include <windows.h>

#include <vector>

namespace ui {

enum Anchor : unsigned { AnchorLeft = 1, AnchorTop = 2, AnchorRight = 4, AnchorBottom = 8 };
inline constexpr unsigned AnchorTopLeft = AnchorLeft | AnchorTop;
inline constexpr unsigned AnchorAll = AnchorLeft | AnchorTop | AnchorRight | AnchorBottom;
inline constexpr unsigned AnchorBottomRight = AnchorRight | AnchorBottom;

class Anchors {
public:
    // Records the child's present distances to the parent's client edges.
    void Add(HWND child, unsigned anchors);
    // Moves every child for the parent's new client size.
    void Apply(HWND parent) const;

private:
    struct Entry {
        HWND child;
        unsigned anchors;
        RECT margins;  // distance of each edge to the same edge of the parent
        int width, height;
    };
    std::vector<Entry> entries_;
};

}  // namespace ui
