// What the editor does when the map reports a change.
#pragma once

// Installs the editor's map event handler: a changed state refreshes the
// title, a cleared map drops the last build's drawings.
void InstallEditorMapEvents();
