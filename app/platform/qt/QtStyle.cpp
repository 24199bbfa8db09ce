#include "app/platform/qt/QtStyle.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPointer>
#include <QStyleFactory>

namespace {
// A standard icon of a style, asked of the style the first time it is measured or drawn.
class CDeferredStandardIcon : public QIconEngine {
public:
    CDeferredStandardIcon(const QStyle* style, QStyle::StandardPixmap which)
        : style_(style), which_(which) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        Icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        return Icon().pixmap(size, scale, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return Icon().availableSizes(mode, state);
    }
    QIconEngine* clone() const override { return new CDeferredStandardIcon(*this); }

private:
    const QIcon& Icon() {
        if (!loaded_ && style_) {
            icon_ = style_->standardIcon(which_);
            loaded_ = true;
        }
        return icon_;
    }

    QPointer<const QStyle> style_;
    QStyle::StandardPixmap which_;
    bool loaded_ = false;
    QIcon icon_;
};

bool IsMenuBarOverflowArrow(QStyle::StandardPixmap which) {
    return which == QStyle::SP_ToolBarHorizontalExtensionButton ||
           which == QStyle::SP_ToolBarVerticalExtensionButton;
}
} // namespace

CAppStyle::CAppStyle() : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {}

QIcon CAppStyle::standardIcon(StandardPixmap which, const QStyleOption* option,
                              const QWidget* widget) const {
    if (IsMenuBarOverflowArrow(which)) {
        return QIcon(new CDeferredStandardIcon(baseStyle(), which));
    }
    return QProxyStyle::standardIcon(which, option, widget);
}

void InstallAppStyle() {
    if (!dynamic_cast<CAppStyle*>(QApplication::style())) {
        QApplication::setStyle(new CAppStyle); // the application owns it
    }
}
