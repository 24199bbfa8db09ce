#pragma once
// The application's widget style: the style Qt would choose, unchanged, except that the
// menu bar's overflow button gets its arrow only when it is first drawn. Qt gives every menu
// bar that button, and the arrow is a picture file whose loading starts Qt's image-format
// plugins: some 3 ms of the start, for a button our menu bar is too short to ever show.

#include <QProxyStyle>

class CAppStyle : public QProxyStyle {
public:
    // Wraps a new instance of the style Qt chose (`-style` and QT_STYLE_OVERRIDE included).
    CAppStyle();
    QIcon standardIcon(StandardPixmap which, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};

// Makes CAppStyle the application's style; call once the application object exists.
void InstallAppStyle();
