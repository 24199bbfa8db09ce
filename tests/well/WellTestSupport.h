#pragma once
// Helpers for the well tests: a decoder that reads only a PNG's size (so pictures have their
// true sizes without any image library), a scratch tag directory, a canvas that records
// draws, and the shipped well model loaded from data/.

#include "app/platform/Canvas.h"
#include "app/platform/FatalError.h"
#include "app/platform/ImageDecoder.h"
#include "app/platform/Platform.h"
#include "app/services/GlobalService.h"
#include "app/tags/TagManager.h"
#include "app/tags/Tags.h"
#include "app/window_manager/LiveParticle.h"
#include "app/window_manager/WindowManager.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace welltest {

constexpr std::uint32_t kOpaquePixel = 0xFF336699u;

// Every image is filled with one opaque colour at the size its PNG header gives.
class SizeOnlyDecoder : public IImageDecoder {
public:
    bool DecodeImage(const unsigned char* data, std::size_t size, PixelBuffer& out) override {
        if (size < 24) {
            return false;
        }
        out.width = BigEndian(data + 16);
        out.height = BigEndian(data + 20);
        out.pixels.assign(static_cast<std::size_t>(out.width) * out.height, kOpaquePixel);
        return true;
    }
    bool DecodeIcon(const unsigned char*, std::size_t, int, PixelBuffer&) override { return false; }

private:
    static int BigEndian(const unsigned char* p) {
        return p[0] << 24 | p[1] << 16 | p[2] << 8 | p[3];
    }
};

struct DrawCall {
    int x, y, w, h, alpha;
};

// Remembers every image draw; draws nothing.
class RecordingCanvas : public ICanvas {
public:
    std::vector<DrawCall> draws;
    int Width() const override { return 1018; }
    int Height() const override { return 720; }
    void CopyImage(const ImageRef& image, int x, int y) override {
        draws.push_back({x, y, image.width, image.height, 255});
    }
    void DrawImage(const ImageRef& image, int x, int y, int alpha) override {
        draws.push_back({x, y, image.width, image.height, alpha});
    }
    void DrawImageScaled(const ImageRef&, int x, int y, int w, int h, int alpha) override {
        draws.push_back({x, y, w, h, alpha});
    }
    void DrawOutlinedText(const TextStyle&, int, int, const std::string&) override {}
    int MeasureText(const TextStyle&, const std::string&) override { return 0; }
    PixelBuffer ReadPixels(int, int, int, int) const override { return {}; }
};

[[noreturn]] inline void ThrowOnFatal(const std::string&, const std::string& message, int) {
    throw std::runtime_error(message);
}

// A fresh tag manager over `directory`, a window manager without a window for the views to
// register with, the size-only decoder installed and rand() restarted from a fixed seed, so
// every test sees the same sequence.
class WellTest : public ::testing::Test {
protected:
    SizeOnlyDecoder decoder;

    void StartTags(const std::string& directory) {
        saved_ = Platform();
        Platform().imageDecoder = &decoder;
        Platform().screenFontFactory = nullptr;
        Platform().fontRegistry = nullptr;
        SetFatalErrorHandler(ThrowOnFatal);
        tags_.Create().SetTagDirectory(directory);
        windows_.Create();
        SeedParticleRandom(1);
    }

    void TearDown() override {
        windows_.Reset();
        tags_.Reset();
        SetFatalErrorHandler(nullptr);
        Platform() = saved_;
    }

private:
    PlatformServices saved_;
    GlobalService<CTagManager> tags_{gTagManager};
    // The views register with a window manager that opens no window.
    GlobalService<CWindowManager> windows_{gWindowManager};
};

// Tags written into a scratch directory by the test itself.
class ScratchTagTest : public WellTest {
protected:
    std::filesystem::path dir;

    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = std::filesystem::temp_directory_path() /
              (std::string("gs_well_") + info->test_suite_name() + "_" + info->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        StartTags(dir.string() + "/");
    }

    void TearDown() override {
        WellTest::TearDown();
        std::filesystem::remove_all(dir);
    }

    void Write(const std::string& relative, const std::string& text) {
        const std::filesystem::path file = dir / relative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << text;
    }

    // The first 24 bytes of a PNG: signature and the header chunk with the size.
    void WriteImage(const std::string& relative, int width, int height) {
        std::string bytes("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16);
        for (int value : {width, height}) {
            for (int shift = 24; shift >= 0; shift -= 8) {
                bytes.push_back(static_cast<char>((value >> shift) & 0xFF));
            }
        }
        Write(relative, bytes);
    }

    // A particle type with a w x h image and the given extra keys.
    TagHandle Particle(const std::string& name, int w, int h, const std::string& keys = "") {
        WriteImage(name + ".png", w, h);
        Write(name + ".particle.yml", "Image: ref(" + name + ".png)\n" + keys);
        return LoadTag(name + ".particle.yml");
    }

    // A region at (0, 0) placed at the origin; `particles` are paths of particle tags.
    TagHandle Region(const std::string& name, int w, int h,
                     const std::vector<std::string>& particles, const std::string& keys = "",
                     const std::string& type = "particleregion") {
        std::string text = "X: 0\nY: 0\nHeight: " + std::to_string(h) +
                           "\nWidth: " + std::to_string(w) + "\n" + keys;
        if (!particles.empty()) {
            text += "Particles:\n";
            for (const std::string& particle : particles) {
                text += "  - ref(" + particle + ".particle.yml)\n";
            }
        }
        const std::string path = name + "." + type + ".yml";
        Write(path, text);
        const TagHandle handle = LoadTag(path);
        GetTagAs<TPlaceable>(handle)->Place(0, 0);
        return handle;
    }
};

// The shipped tag tree, with the well model placed as in the window.
class ShippedWellTest : public WellTest {
protected:
    TagHandle wellTag = 0;

    void SetUp() override {
        StartTags(std::string(GS_SOURCE_DIR) + "/data/");
        wellTag = LoadTag("views/gas_separator.gs.yml");
        GetTagAs<TGasSeparator>(wellTag)->Place(0, 0);
    }
};

} // namespace welltest
