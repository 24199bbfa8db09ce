// Fixed configuration of the picture generator: contact details, colours, text.
#pragma once

#include <QColor>
#include <QString>

namespace art {

// Every contact detail drawn into a picture comes from here, and only from here.
struct Contact {
    static constexpr const char* kCompany = "Quillmore";
    static constexpr const char* kWebsite = "https://www.quillmore.example";
    static constexpr const char* kWebsiteShort = "www.quillmore.example";
    static constexpr const char* kInfoEmail = "info@quillmore.example";
    static constexpr const char* kSupportEmail = "support@quillmore.example";
    static constexpr const char* kSupportPhone = "+1 555 0100";
};

// The program's title as shown in the header.
inline const QString kTitleBrand = QStringLiteral("((quillmore))");
inline const QString kTitleName = QStringLiteral("Gas Separator Simulator");

// Palette: a calm dark slate theme with the greens the tags use for drawn text.
namespace colour {
inline const QColor kSlateDeep(0x1b, 0x27, 0x33);
inline const QColor kSlate(0x24, 0x36, 0x4a);
inline const QColor kSlateCard(0x2c, 0x40, 0x55);
inline const QColor kSlateCardLight(0x35, 0x4b, 0x62);
inline const QColor kHighlight(0x5a, 0x74, 0x8e);
inline const QColor kCaption(0xd8, 0xe0, 0xe8);
inline const QColor kUnit(0x8f, 0xa3, 0xb6);
inline const QColor kAccent(84, 218, 26);  // recommended-length label green
inline const QColor kLime(156, 255, 0);    // dimension label fill
inline const QColor kDarkGreen(53, 87, 0); // dimension label outline
inline const QColor kField(0xf2, 0xf5, 0xf8);
inline const QColor kFieldBorder(0x9a, 0xa8, 0xb6);
inline const QColor kFieldBlue(0x1f, 0x6f, 0xd1);
inline const QColor kAmber(0xf0, 0xa8, 0x20);
inline const QColor kRed(0xd8, 0x3a, 0x34);
inline const QColor kSteel(0x9a, 0xa6, 0xb0);
inline const QColor kSteelDark(0x4e, 0x58, 0x62);
inline const QColor kSteelLight(0xdc, 0xe3, 0xe8);
inline const QColor kLiquid(0x8a, 0x5a, 0x22);
inline const QColor kLiquidDeep(0x5c, 0x38, 0x12);
} // namespace colour

} // namespace art
