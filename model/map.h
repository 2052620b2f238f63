// The level in memory: vertices, linedefs with their two sidedefs, sectors
// and things in singly linked lists in creation order, and the state of the
// map being edited. A record's number is its 0-based position in its list.
#pragma once

#include <cstdint>
#include <string>

#include "base/names.h"

struct Sector;

struct Vertex {
    float x;
    float y;
    uint8_t spare[8];  // kept verbatim from the map file, zero when made by editing
    Vertex* next;
};

struct Sidedef {
    int32_t xOffset;
    int32_t yOffset;
    char upper[8];  // texture names: zero-padded, no terminator at 8 characters
    char lower[8];
    char middle[8];
    Sector* sector;  // null when this side faces no sector
};

struct Linedef {
    Vertex* startVertex;
    Vertex* endVertex;
    int32_t flags;
    int32_t special;
    int32_t tag;
    Sidedef right;  // on the right looking from startVertex to endVertex
    Sidedef left;
    Linedef* next;
};

struct Sector {
    int32_t floorHeight;
    int32_t ceilingHeight;
    char floorFlat[8];
    char ceilingFlat[8];
    int32_t light;
    int32_t special;
    int32_t tag;
    Sector* next;
};

struct Thing {
    float x;
    float y;
    int32_t angle;
    int32_t type;
    int32_t flags;      // 1 skill 1/2, 2 skill 3, 4 skill 4/5, 8 deaf, 16 multiplayer only
    int32_t typeIndex;  // row of the thing type table
    Thing* next;
};

// The lists; change them only through the functions below, which keep the
// counts and the record numbers right.
extern Vertex* vertices;
extern Linedef* linedefs;
extern Sector* sectors;
extern Thing* things;
extern int32_t numvertices;
extern int32_t numlinedefs;
extern int32_t numsectors;
extern int32_t numthings;

// Object kinds of the selection and the hover.
enum ObjectKind : int32_t {
    kObjectNone = 0,
    kObjectVertex = 1,
    kObjectLinedef = 2,
    kObjectSector = 3,
    kObjectThing = 4
};

struct MapObject {
    int32_t kind;
    void* object;  // the Vertex, Linedef, Sector or Thing, by kind
};

// The state of the map being edited.
extern std::string mapFilePath;  // "untitled.kdm" at start
extern std::string pwadPath;     // derived from mapFilePath
extern int32_t mapSlot;          // 1 to 32: MAP01 to MAP32
extern int32_t mapModified;      // 1 while there are unsaved changes
extern int32_t saveCount;        // successful saves since the map was last cleared
extern MapObject selection;
extern MapObject hover;
extern char defaultUpper[8];
extern char defaultMiddle[8];
extern char defaultLower[8];
extern Sector defaultSector;  // every new sector is a copy of it

// Appends a record, made with new, at the tail of its list; the list owns it.
void AppendVertex(Vertex* vertex);
void AppendLinedef(Linedef* linedef);
void AppendSector(Sector* sector);
void AppendThing(Thing* thing);

// Unlinks a record from its list and frees it; a selection or hover of it
// becomes none. Other references to it are the caller's to remove first.
void RemoveVertex(Vertex* vertex);
void RemoveLinedef(Linedef* linedef);
void RemoveSector(Sector* sector);
void RemoveThing(Thing* thing);

// Frees every record, empties the lists, clears the selection and the hover,
// and sets the save count to 0; placed points of a drawing become free
// points. Paths, map slot, modified flag and defaults stay. Raises
// MapEvent::kCleared.
void ClearMap();

// The record's number; a record that is not in its list is a fatal error.
int32_t VertexNumForPtr(const Vertex* vertex);
int32_t SectorNumForPtr(const Sector* sector);
int32_t LinedefNumForPtr(const Linedef* linedef);
int32_t ThingNumForPtr(const Thing* thing);

// The record with the given number, or null when there is none.
Vertex* VertexForNum(int32_t number);
Sector* SectorForNum(int32_t number);

// Makes path the map file path and derives the PWAD path from it: its last
// three characters become "wad".
void SetMapFileName(const std::string& path);

// Sets the modified flag and tells the map event handler (the title shows
// it), once per run of changes.
void MarkModified();
