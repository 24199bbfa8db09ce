#pragma once
// Process-wide font registration: the faces of a registered TrueType file become available
// to every screen font created later, under their own names ("Exo", "Exo Bold", ...).

#include <cstddef>

class IFontRegistry {
public:
    virtual ~IFontRegistry() = default;
    // Registers the faces in the font file bytes; returns the number of faces (0 when the
    // bytes hold no usable font). The same bytes again register nothing new: a tag reload
    // does not grow the process.
    virtual int RegisterFont(const unsigned char* data, std::size_t size) = 0;
};
