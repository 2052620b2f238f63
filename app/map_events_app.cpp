// The editor's answers to the map's events.
#include "app/map_events_app.h"

#include "app/backups.h"
#include "app/title.h"
#include "model/map.h"
#include "model/map_events.h"
#include "nodes/bsp_output.h"

namespace {

void OnMapEvent(MapEvent event) {
    switch (event) {
        case MapEvent::kStateChanged:
            UpdateTitle();
            if (!mapModified) ForgetBackups();  // the map file holds it all
            break;
        case MapEvent::kCleared:
            ClearBuildTables();
            break;
    }
}

}  // namespace

void InstallEditorMapEvents() { mapEventHandler = OnMapEvent; }
