#pragma once
// Qt implementation of image decoding, font registration and screen fonts, and the message
// box for fatal errors.

#include "app/platform/FontRegistry.h"
#include "app/platform/ImageDecoder.h"
#include "app/platform/ScreenFont.h"

#include <QByteArray>
#include <QFont>

#include <map>

class CQtImageDecoder : public IImageDecoder {
public:
    bool DecodeImage(const unsigned char* data, std::size_t size, PixelBuffer& out) override;
    bool DecodeIcon(const unsigned char* data, std::size_t size, int iconSize,
                    PixelBuffer& out) override;
    int PictureScale() const override;
};

class CQtFontRegistry : public IFontRegistry {
public:
    int RegisterFont(const unsigned char* data, std::size_t size) override;

private:
    // Each distinct font file once, with its number of faces; Qt keeps (and shares) the bytes.
    std::map<QByteArray, int> registered_;
};

class CQtScreenFont : public IScreenFont {
public:
    CQtScreenFont(const std::string& faceName, int cellHeight);
    const std::string& FaceName() const override { return faceName_; }
    int CellHeight() const override { return cellHeight_; }
    const QFont& Font() const { return font_; }

private:
    std::string faceName_;
    int cellHeight_;
    QFont font_;
};

class CQtScreenFontFactory : public IScreenFontFactory {
public:
    std::unique_ptr<IScreenFont> CreateScreenFont(const std::string& faceName,
                                                  int cellHeight) override;
};

// Installs one process-wide decoder, font registry and screen-font factory into Platform().
// Needs a QGuiApplication.
void InstallQtMediaServices();
// Fatal errors show a message box titled "Error" before the process ends.
void InstallQtFatalErrorHandler();
