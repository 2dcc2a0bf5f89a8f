#pragma once

#include <cstdint>
#include <span>

namespace sordanel {

// What a template row creates.
enum class ControlKind {
    PushButton,
    CheckBox,
    RadioButton,
    Label,
    TextBox,
    UpDown,
    VerticalSlider,
    HorizontalSlider,
    TabControl,
    Bitmap,  // text names the image resource; the control takes the image's own size
    Icon,    // text names the icon resource, or is empty for an icon set by code
    Custom,  // made by the dialog itself, placed by the builder
};

// Row flags, combined with |.
enum ControlFlag : std::uint32_t {
    kNoFlags = 0,
    kHidden = 1u << 0,
    kDisabled = 1u << 1,
    kDefault = 1u << 2,    // push button that Enter clicks
    kMultiLine = 1u << 3,  // text wraps onto several lines
    kReadOnly = 1u << 4,
    kDigitsOnly = 1u << 5,
    kGroup = 1u << 6,      // radio button that starts a new group
    kTicks = 1u << 7,      // slider tick at every position
    kTicksBoth = 1u << 8,  // slider ticks on both sides
    kBorder = 1u << 9,     // sunken frame around a label or bitmap
    kCentred = 1u << 10,   // centred label text
    kNoTabStop = 1u << 11,
};

// One control of a dialog, in dialog units, as the window's layout table lists it.
struct ControlRow {
    int id;  // kNoId for a static that code never addresses
    ControlKind kind;
    const char* text;
    int x, y, width, height;
    std::uint32_t flags = kNoFlags;
};

inline constexpr int kNoId = -1;
inline constexpr int kOkId = 1;
inline constexpr int kCancelId = 2;

// A whole dialog: caption, client size in dialog units, its controls in creation order.
struct DialogTemplate {
    const char* title;
    int width, height;
    bool closeBox;
    std::span<const ControlRow> controls;
};

}  // namespace sordanel
