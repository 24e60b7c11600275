#include "app/commands/mesh_import_command.h"

#include <algorithm>

#include "app/commands/document_commands.h"
#include "app/commands/window_status.h"
#include "formats/import/mesh_reader.h"
#include "formats/import/voxelize.h"
#include "io/path_names.h"
#include "model/model_file.h"

namespace cubrik {

void importMesh(App& app) {
    if (!askToSave(app)) return;
    const UiStrings& text = app.strings();
    const auto chosen = askForFile(app, false, {text.meshTitle, text.meshFilters, app.document.lastFolder, "", ""});
    if (!chosen) return;
    const std::string path = *chosen;
    app.document.lastFolder = folderOf(path);

    TriangleSoup soup;
    std::string reason;
    int read = 0;
    app.platform.runAndWait(text.meshProgress, [&](const ImportControl& control) {
        read = readMeshFile(path, soup, reason, control);
    });
    if (!read) {
        reportFailure(app, fillIn(text.cannotImportMesh, path), reason);
        return;
    }
    const MeshImportRequest request{text.meshTitle,      text.meshCellsLabel,  text.meshSolid, text.meshSurface,
                                    text.meshSizePreview, soupSize(soup), VoxelizeOptions{}};
    const std::optional<VoxelizeOptions> options = app.platform.askMeshImport(request);
    if (!options) return;

    // The worker reads its own copy of the palettes while the window draws.
    ModelFileContents contents;
    std::copy(std::begin(app.model().paletteA), std::end(app.model().paletteA), contents.paletteA);
    std::copy(std::begin(app.model().paletteB), std::end(app.model().paletteB), contents.paletteB);
    int done = 0;
    app.platform.runAndWait(text.meshProgress, [&](const ImportControl& control) {
        done = voxelizeMesh(soup, *options, contents.paletteA, contents.paletteB, contents.cells, reason, control);
    });
    if (!done) {
        reportFailure(app, fillIn(text.cannotImportMesh, path), reason);
        return;
    }
    replaceModel(app, contents, path);
    refreshWindowTexts(app);
}

}  // namespace cubrik
