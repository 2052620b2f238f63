// The record lists, their numbering and the current-map state.
#include "model/map.h"

#include <cstring>
#include <unordered_map>
#include <vector>

#include "base/report.h"
#include "model/map_events.h"
#include "model/map_history.h"
#include "model/sector_drawing.h"

Vertex* vertices = nullptr;
Linedef* linedefs = nullptr;
Sector* sectors = nullptr;
Thing* things = nullptr;
int32_t numvertices = 0;
int32_t numlinedefs = 0;
int32_t numsectors = 0;
int32_t numthings = 0;

std::string mapFilePath = "untitled.kdm";
std::string pwadPath = "untitled.wad";
int32_t mapSlot = 1;
int32_t mapModified = 0;
int32_t saveCount = 0;
MapObject selection = {kObjectNone, nullptr};
MapObject hover = {kObjectNone, nullptr};
char defaultUpper[8] = {'G', 'R', 'A', 'Y', '1'};
char defaultMiddle[8] = {'G', 'R', 'A', 'Y', '1'};
char defaultLower[8] = {'G', 'R', 'A', 'Y', '1'};
Sector defaultSector = {0, 128,    {'F', 'L', 'O', 'O', 'R', '1', '_', '1'}, {'F', 'L', 'A', 'T', '1', '8'}, 160, 0,
                        0, nullptr};

void (*mapEventHandler)(MapEvent event) = nullptr;

void NotifyMapEvent(MapEvent event) {
    if (mapEventHandler) mapEventHandler(event);
}

namespace {

// The bookkeeping behind one list: its tail for appending, and an index from
// records to numbers that is rebuilt after a removal, so that numbering is
// not a walk per look-up.
template <class T>
struct ListBook {
    T*& head;
    int32_t& count;
    T* tail = nullptr;
    bool indexed = true;
    std::vector<T*> byNumber;
    std::unordered_map<const T*, int32_t> numbers;

    ListBook(T*& h, int32_t& c) : head(h), count(c) {}

    void Append(T* record) {
        record->next = nullptr;
        if (tail)
            tail->next = record;
        else
            head = record;
        tail = record;
        if (indexed) {
            numbers[record] = static_cast<int32_t>(byNumber.size());
            byNumber.push_back(record);
        }
        ++count;
    }

    void Remove(T* record) {
        T* previous = nullptr;
        for (T* r = head; r; previous = r, r = r->next) {
            if (r != record) continue;
            if (previous)
                previous->next = r->next;
            else
                head = r->next;
            if (tail == r) tail = previous;
            --count;
            delete r;
            indexed = false;
            return;
        }
    }

    void Clear() {
        for (T* r = head; r;) {
            T* next = r->next;
            delete r;
            r = next;
        }
        head = tail = nullptr;
        count = 0;
        byNumber.clear();
        numbers.clear();
        indexed = true;
    }

    void Reindex() {
        if (indexed) return;
        byNumber.clear();
        numbers.clear();
        for (T* r = head; r; r = r->next) {
            numbers[r] = static_cast<int32_t>(byNumber.size());
            byNumber.push_back(r);
        }
        indexed = true;
    }

    int32_t NumberOf(const T* record) {
        Reindex();
        auto found = numbers.find(record);
        return found == numbers.end() ? -1 : found->second;
    }

    T* RecordAt(int32_t number) {
        Reindex();
        if (number < 0 || number >= static_cast<int32_t>(byNumber.size())) return nullptr;
        return byNumber[number];
    }
};

ListBook<Vertex> vertexBook(vertices, numvertices);
ListBook<Linedef> linedefBook(linedefs, numlinedefs);
ListBook<Sector> sectorBook(sectors, numsectors);
ListBook<Thing> thingBook(things, numthings);

}  // namespace

void AppendVertex(Vertex* vertex) { vertexBook.Append(vertex); }
void AppendLinedef(Linedef* linedef) { linedefBook.Append(linedef); }
void AppendSector(Sector* sector) { sectorBook.Append(sector); }
void AppendThing(Thing* thing) { thingBook.Append(thing); }

namespace {
// The selection and the hover never point at a freed record.
void Forget(const void* record) {
    if (selection.object == record) selection = {kObjectNone, nullptr};
    if (hover.object == record) hover = {kObjectNone, nullptr};
    DetachDrawPoints(record);
}
}  // namespace

void RemoveVertex(Vertex* vertex) {
    Forget(vertex);
    vertexBook.Remove(vertex);
}
void RemoveLinedef(Linedef* linedef) {
    Forget(linedef);
    linedefBook.Remove(linedef);
}
void RemoveSector(Sector* sector) {
    Forget(sector);
    sectorBook.Remove(sector);
}
void RemoveThing(Thing* thing) {
    Forget(thing);
    thingBook.Remove(thing);
}

void ClearMap() {
    vertexBook.Clear();
    linedefBook.Clear();
    sectorBook.Clear();
    thingBook.Clear();
    selection = {kObjectNone, nullptr};
    hover = {kObjectNone, nullptr};
    DetachDrawPoints(nullptr);
    saveCount = 0;
    NotifyMapEvent(MapEvent::kCleared);
}

int32_t VertexNumForPtr(const Vertex* vertex) {
    int32_t number = vertexBook.NumberOf(vertex);
    if (number < 0) FatalError("VertexNumForPtr: pointer not found");
    return number;
}

int32_t SectorNumForPtr(const Sector* sector) {
    int32_t number = sectorBook.NumberOf(sector);
    if (number < 0) FatalError("SectorNumForPtr: pointer not found");
    return number;
}

int32_t LinedefNumForPtr(const Linedef* linedef) {
    int32_t number = linedefBook.NumberOf(linedef);
    if (number < 0) FatalError("LinedefNumForPtr: pointer not found");
    return number;
}

int32_t ThingNumForPtr(const Thing* thing) {
    int32_t number = thingBook.NumberOf(thing);
    if (number < 0) FatalError("ThingNumForPtr: pointer not found");
    return number;
}

Vertex* VertexForNum(int32_t number) { return vertexBook.RecordAt(number); }
Sector* SectorForNum(int32_t number) { return sectorBook.RecordAt(number); }

void SetMapFileName(const std::string& path) {
    mapFilePath = path;
    pwadPath = path;
    if (pwadPath.size() >= 3)
        pwadPath.replace(pwadPath.size() - 3, 3, "wad");
    else
        pwadPath += ".wad";
}

void MarkModified() {
    NoteMapChanged();
    if (mapModified) return;
    mapModified = 1;
    NotifyMapEvent(MapEvent::kStateChanged);
}
