// MDC tags: an origin in 1/64 units and the axes as pitch, yaw and roll, turned into axes
// as the game's renderer does when it places a model on the tag.
#pragma once

#include "md3/md3_format.h"
#include "mdc/mdc_format.h"

// The tag the game draws from a stored record; the name is left empty.
TMD3Tag DecodeMDCTag(const TMDCTagRecord& record);
// The record nearest to a tag: the origin rounded to 1/64 units (clamped to the 16-bit
// range, counted in `clamped`) and the angles that turn the axes into place.
TMDCTagRecord EncodeMDCTag(const TMD3Tag& tag, int& clamped);
