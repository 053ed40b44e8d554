#include "platform/skin/OleColor.h"

#include <QPalette>

#include <array>
#include <utility>

namespace {

// The system colour indexes that have a palette counterpart.
constexpr std::array systemRoles{
    std::pair{4u, QPalette::Window},       std::pair{5u, QPalette::Base},
    std::pair{7u, QPalette::WindowText},   std::pair{8u, QPalette::Text},
    std::pair{13u, QPalette::Highlight},   std::pair{14u, QPalette::HighlightedText},
    std::pair{15u, QPalette::Button},      std::pair{16u, QPalette::Dark},
    std::pair{18u, QPalette::ButtonText},  std::pair{20u, QPalette::Light},
    std::pair{23u, QPalette::ToolTipText}, std::pair{24u, QPalette::ToolTipBase},
};

} // namespace

OleColor ToOleColor(const QColor& color) {
    const QColor rgb = color.toRgb();
    return OleColor(rgb.red()) | OleColor(rgb.green()) << 8 | OleColor(rgb.blue()) << 16;
}

std::optional<QColor> FromOleColor(OleColor value, const QPalette& system) {
    if (value & OleSystemColor) {
        if (value & 0x7fffff00u)
            return std::nullopt;
        for (const auto& [index, role] : systemRoles) {
            if (index == (value & 0xffu))
                return system.color(QPalette::Active, role);
        }
        return std::nullopt;
    }
    if (value & 0xff000000u)
        return std::nullopt;
    return QColor(int(value & 0xffu), int(value >> 8 & 0xffu), int(value >> 16 & 0xffu));
}
