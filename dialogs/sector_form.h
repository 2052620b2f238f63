// The Sector Edit and Default Sector dialogs without their window: what
// opening fills in, and what OK writes back or refuses.
#pragma once

#include <optional>
#include <string>

#include "dialogs/number_field.h"
#include "model/map.h"

// Controls of both templates (the special and the tag only in Sector Edit).
enum SectorDialogControl {
    kSectorFloorPreview = 1001,
    kSectorCeilingPreview = 1002,
    kSectorFloorList = 3001,
    kSectorCeilingList = 3002,
    kSectorSpecialList = 3003,
    kSectorFloorField = 4001,
    kSectorCeilingField = 4002,
    kSectorLightField = 4003,
    kSectorTagField = 4004,
};

// The working copy: the number fields' texts as typed, and list positions
// (-1 when the list has nothing selected).
struct SectorForm {
    std::string floorHeight;
    std::string ceilingHeight;
    std::string light;
    std::string tag;
    int floorFlat = -1;    // flat number
    int ceilingFlat = -1;  // flat number
    int special = -1;      // row of the sector special table
};

SectorForm LoadSectorForm(const Sector& sector);
// The default sector's heights, flats and light (no special, no tag).
SectorForm LoadDefaultSectorForm();

// OK of Sector Edit: the heights through ApplySectorHeights (which
// re-textures the walls around), then flats, light, special and tag. A
// flat list or the special list with nothing selected keeps what the sector
// holds. Nothing is written when a field is refused; the map is marked
// modified when something changed.
std::optional<FieldRefusal> ApplySectorForm(const SectorForm& form, Sector& sector);
// OK of Default Sector: heights, flats and light of the default sector.
std::optional<FieldRefusal> ApplyDefaultSectorForm(const SectorForm& form);
