// Loading and applying the sector dialogs' working copy.
#include "dialogs/sector_form.h"

#include <cstring>

#include "model/editing.h"
#include "resources/catalogue.h"
#include "resources/game_tables.h"

namespace {

constexpr NumberField kFloorField{kSectorFloorField, "Floor Height", kShortMinimum, kShortMaximum};
constexpr NumberField kCeilingField{kSectorCeilingField, "Ceiling Height", kShortMinimum, kShortMaximum};
constexpr NumberField kLightField{kSectorLightField, "Light Level", 0, 255};
constexpr NumberField kTagField{kSectorTagField, "Tag", kShortMinimum, kShortMaximum};

SectorForm LoadCommon(const Sector& sector) {
    SectorForm form;
    form.floorHeight = std::to_string(sector.floorHeight);
    form.ceilingHeight = std::to_string(sector.ceilingHeight);
    form.light = std::to_string(sector.light);
    form.floorFlat = FindFlat(NameText(sector.floorFlat).c_str());
    form.ceilingFlat = FindFlat(NameText(sector.ceilingFlat).c_str());
    return form;
}

// The numbers of the fields, in the dialog's order; the first refused
// field stops the reading.
struct SectorNumbers {
    int32_t floorHeight = 0;
    int32_t ceilingHeight = 0;
    int32_t light = 0;
    int32_t tag = 0;
};

std::optional<FieldRefusal> ReadNumbers(const SectorForm& form, bool withTag, SectorNumbers& numbers) {
    FieldRefusal refusal;
    const auto floorHeight = ReadNumberField(kFloorField, form.floorHeight, refusal);
    if (!floorHeight) return refusal;
    const auto ceilingHeight = ReadNumberField(kCeilingField, form.ceilingHeight, refusal);
    if (!ceilingHeight) return refusal;
    const auto light = ReadNumberField(kLightField, form.light, refusal);
    if (!light) return refusal;
    numbers = {*floorHeight, *ceilingHeight, *light, 0};
    if (withTag) {
        const auto tag = ReadNumberField(kTagField, form.tag, refusal);
        if (!tag) return refusal;
        numbers.tag = *tag;
    }
    return std::nullopt;
}

bool SameProperties(const Sector& a, const Sector& b) {
    return a.floorHeight == b.floorHeight && a.ceilingHeight == b.ceilingHeight &&
           std::memcmp(a.floorFlat, b.floorFlat, 8) == 0 && std::memcmp(a.ceilingFlat, b.ceilingFlat, 8) == 0 &&
           a.light == b.light && a.special == b.special && a.tag == b.tag;
}

// The chosen flat's name, or the stored one when the list has no selection.
void StoreFlat(char* field, int flat) {
    if (flat >= 0 && static_cast<std::size_t>(flat) < catalogue.flats.size()) {
        std::memcpy(field, catalogue.flats[flat].name, 8);
    }
}

}  // namespace

SectorForm LoadSectorForm(const Sector& sector) {
    SectorForm form = LoadCommon(sector);
    form.tag = std::to_string(sector.tag);
    form.special = sector.special >= 0 && sector.special < kNumSectorSpecials ? sector.special : -1;
    return form;
}

SectorForm LoadDefaultSectorForm() { return LoadCommon(defaultSector); }

std::optional<FieldRefusal> ApplySectorForm(const SectorForm& form, Sector& sector) {
    SectorNumbers numbers;
    if (auto refusal = ReadNumbers(form, true, numbers)) return refusal;
    const Sector before = sector;
    ApplySectorHeights(&sector, numbers.floorHeight, numbers.ceilingHeight);
    StoreFlat(sector.floorFlat, form.floorFlat);
    StoreFlat(sector.ceilingFlat, form.ceilingFlat);
    sector.light = numbers.light;
    if (form.special >= 0 && form.special < kNumSectorSpecials) sector.special = form.special;
    sector.tag = numbers.tag;
    if (!SameProperties(before, sector)) MarkModified();
    return std::nullopt;
}

std::optional<FieldRefusal> ApplyDefaultSectorForm(const SectorForm& form) {
    SectorNumbers numbers;
    if (auto refusal = ReadNumbers(form, false, numbers)) return refusal;
    defaultSector.floorHeight = numbers.floorHeight;
    defaultSector.ceilingHeight = numbers.ceilingHeight;
    StoreFlat(defaultSector.floorFlat, form.floorFlat);
    StoreFlat(defaultSector.ceilingFlat, form.ceilingFlat);
    defaultSector.light = numbers.light;
    return std::nullopt;
}
