#pragma once
// Module pictures: the front plate of a module as seen on the DIN rail.
#include "Catalogue.h"

#include <QImage>

// Every picture has this size, so the grids' columns fit all of them.
inline constexpr int PlateWidth = 60;
inline constexpr int PlateHeight = 160;

QImage drawEmptySlot(const Brand &brand);
QImage drawCoupler(const Brand &brand, const ModuleInfo &module);
// I/O module: colour band with the short name, kind plate, channel LEDs and
// terminals for its channel count.
QImage drawIoModule(const Brand &brand, const ModuleInfo &module);
// The right picture for any described module (empty slot, coupler, I/O module).
QImage drawModule(const Brand &brand, const ModuleInfo &module);
