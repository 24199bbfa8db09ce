#pragma once
// The services the program needs from the operating system. Everything outside
// app/platform/qt/ reaches the platform only through these interfaces, so another platform
// layer can be added without touching the rest. Start-up installs one implementation of
// each; tests may install fakes.

class IUserFolders;
class IImageDecoder;
class IFontRegistry;
class IScreenFontFactory;
class IMainWindow;
class IShell;
class IAutomation;

struct PlatformServices {
    IUserFolders* userFolders = nullptr;
    IImageDecoder* imageDecoder = nullptr;           // image tags; none: images load as 0 x 0
    IFontRegistry* fontRegistry = nullptr;           // font tags; none: nothing is registered
    IScreenFontFactory* screenFontFactory = nullptr; // placement; none: no screen fonts
    IMainWindow* mainWindow = nullptr;               // the window manager opens it
    IShell* shell = nullptr;                         // message boxes, links; none: ignored
    IAutomation* automation = nullptr;               // synthetic input (headless driver only)
};

PlatformServices& Platform();
