#pragma once
// The services the program needs from the operating system. Everything outside
// app/platform/qt/ reaches the platform only through these interfaces, so another platform
// layer can be added without touching the rest. Start-up installs one implementation of
// each; tests may install fakes.
//
// Error policy of the platform layer: operations report failure by their result (false, an
// empty picture, a null control) and never throw; a failure the program cannot survive (no
// memory for the back buffer) goes through ReportFatalError (FatalError.h), which tells the
// user and ends the process. A service that is not installed is null; callers treat that as
// "not available".

class IUserFolders;
class IFileSystem;
class IImageDecoder;
class IFontRegistry;
class IScreenFontFactory;
class IMainWindow;
class IShell;
class IAutomation;
class IClipboard;
class IReportRenderer;
class IPixelPages;

struct PlatformServices {
    IUserFolders* userFolders = nullptr;
    IFileSystem* fileSystem = nullptr;               // none: written files are not synced
    IImageDecoder* imageDecoder = nullptr;           // image tags; none: images load as 0 x 0
    IFontRegistry* fontRegistry = nullptr;           // font tags; none: nothing is registered
    IScreenFontFactory* screenFontFactory = nullptr; // placement; none: no screen fonts
    IMainWindow* mainWindow = nullptr;               // the window manager opens it
    IShell* shell = nullptr;                         // message boxes, links; none: ignored
    IAutomation* automation = nullptr;               // synthetic input (headless driver only)
    IClipboard* clipboard = nullptr;                 // none: nothing is copied
    IReportRenderer* reportRenderer = nullptr;       // PDF reports; none: no reports
    IPixelPages* pixelPages = nullptr; // large pixel buffers (PixelMemory.h); none: the heap
    const char* toolkit = nullptr;     // its name and version, e.g. "Qt 6.4.2"
    // The user's locale writes decimals with a comma ("3,25"): typed numbers are read so.
    bool decimalComma = false;
};

PlatformServices& Platform();

// Hands the heap's free pages back to the system (every allocator arena, on the C library that
// has them): after a tag reload the old pictures are freed on two threads' heaps, which would
// otherwise keep them and grow with every reload.
void ReleaseFreeMemory();
