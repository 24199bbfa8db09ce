#pragma once
// Helpers for the tag tests: a scratch tag directory, fake platform services that count
// what the tag system asks of them, and a fatal-error handler that throws.

#include "app/platform/FatalError.h"
#include "app/platform/FontRegistry.h"
#include "app/platform/ImageDecoder.h"
#include "app/platform/Platform.h"
#include "app/platform/ScreenFont.h"
#include "app/services/GlobalService.h"
#include "app/tags/TagManager.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace tagtest {

struct FatalErrorCalled {
    std::string message;
    int code;
};

inline void ThrowFatalError(const std::string&, const std::string& message, int code) {
    throw FatalErrorCalled{message, code};
}

// Decodes nothing real: every image is 3 x 2 pixels, and the calls are counted.
class FakeDecoder : public IImageDecoder {
public:
    int images = 0;
    bool DecodeImage(const unsigned char*, std::size_t, PixelBuffer& out) override {
        ++images;
        out.width = 3;
        out.height = 2;
        out.pixels.assign(6, 0xFF102030u);
        return true;
    }
    bool DecodeIcon(const unsigned char*, std::size_t, int size, PixelBuffer& out) override {
        out.width = out.height = size;
        out.pixels.assign(static_cast<std::size_t>(size) * size, 0xFFFFFFFFu);
        return true;
    }
};

class FakeFont : public IScreenFont {
public:
    FakeFont(std::string face, int height, int& live)
        : face_(std::move(face)), height_(height), live_(live) {
        ++live_;
    }
    ~FakeFont() override { --live_; }
    const std::string& FaceName() const override { return face_; }
    int CellHeight() const override { return height_; }

private:
    std::string face_;
    int height_;
    int& live_;
};

class FakeFontFactory : public IScreenFontFactory {
public:
    int created = 0;
    int live = 0;
    std::unique_ptr<IScreenFont> CreateScreenFont(const std::string& face, int height) override {
        ++created;
        return std::make_unique<FakeFont>(face, height, live);
    }
};

// A fresh manager over a scratch directory, with fake media services installed.
class TagTest : public ::testing::Test {
protected:
    std::filesystem::path dir;
    FakeDecoder decoder;
    FakeFontFactory fonts;

    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = std::filesystem::temp_directory_path() /
              (std::string("gs_tags_") + info->test_suite_name() + "_" + info->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        saved_ = Platform();
        Platform().imageDecoder = &decoder;
        Platform().screenFontFactory = &fonts;
        Platform().fontRegistry = nullptr;
        SetFatalErrorHandler(ThrowFatalError);
        ResetTags();
        InitTags(dir.string() + "/");
    }

    void TearDown() override {
        tags_.Reset();
        SetFatalErrorHandler(nullptr);
        Platform() = saved_;
        std::filesystem::remove_all(dir);
    }

    void Write(const std::string& relative, const std::string& text) {
        const std::filesystem::path file = dir / relative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << text;
    }

    // An image file the fake decoder accepts (any bytes will do).
    void WriteImage(const std::string& relative) { Write(relative, "png"); }

    template <class T> T* Get(TagHandle handle) { return GetTagAs<T>(handle); }

    // Drops the manager and every tag, and publishes a fresh, empty manager.
    void ResetTags() { tags_.Create(); }

private:
    PlatformServices saved_;
    GlobalService<CTagManager> tags_{gTagManager};
};

} // namespace tagtest
