#pragma once
// The services the program needs from the operating system. Everything outside
// app/platform/qt/ reaches the platform only through these interfaces, so another platform
// layer can be added without touching the rest. Start-up installs one implementation of
// each; tests may install fakes.

class IUserFolders;

struct PlatformServices {
    IUserFolders* userFolders = nullptr;
};

PlatformServices& Platform();
