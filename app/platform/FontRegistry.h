#pragma once
// Process-wide font registration: the faces of a registered TrueType file become available
// to every screen font created later, under their own names ("Exo", "Exo Bold", ...).

#include <cstddef>

class IFontRegistry {
public:
    virtual ~IFontRegistry() = default;
    // Registers the faces in the font file bytes; returns the number of faces added (0 when
    // the bytes hold no usable font). Registering the same font again is harmless.
    virtual int RegisterFont(const unsigned char* data, std::size_t size) = 0;
};
