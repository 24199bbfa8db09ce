#include "app/tags/ParticleRegion.h"

#include "app/tags/Tags.h"

void TParticleRegion::Load(const YAML::Node& node) {
    x = ReadInt(node, "X");
    y = ReadInt(node, "Y");
    height = ReadInt(node, "Height");
    width = ReadInt(node, "Width");
    particleCreationBoundsX = ReadInt(node, "Particle Creation Bounds X", 0);
    particleCreationBoundsY = ReadInt(node, "Particle Creation Bounds Y", 0);
    particleCreationBoundsHeight = ReadInt(node, "Particle Creation Bounds Height", height);
    particleCreationBoundsWidth = ReadInt(node, "Particle Creation Bounds Width", width);
    minimumHeight = ReadInt(node, "Minimum Height", height);
    particles = ReadRefListAs<TParticle>(node, "Particles", "TParticle");
    bottomCurveRadius = ReadInt(node, "Bottom Curve Radius", 0);
    creationBounds = {particleCreationBoundsX, particleCreationBoundsY,
                      particleCreationBoundsX + particleCreationBoundsWidth,
                      particleCreationBoundsY + particleCreationBoundsHeight};
}

void TDipTubeParticleRegion::Load(const YAML::Node& node) {
    TParticleRegion::Load(node);
    dipTubeX = ReadInt(node, "Dip Tube X");
    dipTubeY = ReadInt(node, "Dip Tube Y");
    dipTubeHeight = ReadInt(node, "Dip Tube Height");
    dipTubeWidth = ReadInt(node, "Dip Tube Width");
}
