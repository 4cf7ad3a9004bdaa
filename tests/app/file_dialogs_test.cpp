// Every command's file and folder dialog, cancelled, against the texts the
// program's dialogs must carry: filter list, initial name, open or save,
// whether the file must exist, whether a save asks before replacing, and
// the folder it opens in. The texts are written out here, not taken from
// the constants the commands use.
#include <gtest/gtest.h>

#include <functional>

#include "app/file_commands.h"
#include "app/map_lists.h"
#include "app/mapping_commands.h"
#include "app/md2_command.h"
#include "app/preferences.h"
#include "app/script_skins.h"
#include "app/skin_commands.h"
#include "app/startup.h"
#include "core/mesh_files.h"
#include "render/picture_commands.h"
#include "tests/core/application_fixture.h"

namespace mok {
namespace {

struct DialogSite {
  const char* command;
  std::function<void(Application&)> run;
  bool save;
  std::string filter;
  std::string initialName;  // empty: the site's own name, checked elsewhere
  bool mustExist = false;
  bool confirmOverwrite = true;
};

constexpr const char* kAll = "All Files (*.*)|*.*||";

class FileDialogSites : public test::ApplicationFixture {
 protected:
  FileDialogSites() {
    app.currentFile = std::string(MOK_SOURCE_DIR) + "/resources/samples/Sampler/Models/Sampler_d.3d";
    EXPECT_TRUE(LoadMesh(app.doc(), app.currentFile, prompter).ok());
    app.loadDir = dir.path().string();
    Write(settings, setting::LoadDir, app.loadDir);
  }

  // Makes the active skin a loaded one of the format, so Save As asks.
  void LoadedSkin(int format, const std::string& name) {
    SkinSlot& skin = *app.doc().activeSkin;
    skin.isEmpty = 0;
    skin.hasFile = 1;
    skin.format = format;
    skin.name = skin.filePath = name;
  }
};

TEST_F(FileDialogSites, EveryFileDialogCarriesItsTexts) {
  const std::string mesh = app.currentFile;
  const std::vector<DialogSite> sites = {
      {"File > Open", FileOpen, false, std::string("Unreal Raw Model (*.3d)|*.3d|") + kAll, "*.3d", true},
      {"File > Save As", FileSaveAs, true, std::string("Unreal Raw Mesh (*.3d)|*.3d|") + kAll, mesh},
      {"File > Import > Quake2 MD2", ImportQuake2Md2, false, std::string("Quake2 MD2 (*.md2)|*.md2|") + kAll, "*.md2",
       true},
      {"Export Mapping", ExportMappingCommand, true, std::string("MOKX Mapping (*.mkmp)|*.mkmp|") + kAll, "*.mkmp"},
      {"Import Mapping", ImportMappingCommand, false, std::string("MOKX Mapping (*.mkmp)|*.mkmp|") + kAll, "*.mkmp",
       true},
      {"Skins > Open", SkinOpen, false,
       std::string("Supported Formats (*.pcx;*.bmp;*.tga)|*.pcx;*.bmp;*.tga|ZSoft PCX (*.pcx)|*.pcx|Bitmap "
                   "(*.bmp)|*.bmp|Targa (*.tga)|*.tga|") + kAll,
       "*.pcx;*.bmp;*.tga"},
      {"Skins > Save As (a BMP)",
       [this](Application& a) {
         LoadedSkin(kFormatBmp, "/skins/a.bmp");
         SkinSaveAs(a);
       },
       true, std::string("Bitmap (*.bmp)|*.bmp|Bitmap (*.bmp)|*.bmp|Targa (*.tga)|*.tga|") + kAll, "/skins/a.bmp",
       false, false},
      {"Skins > Save As (a TGA)",
       [this](Application& a) {
         LoadedSkin(kFormatTga, "/skins/a.tga");
         SkinSaveAs(a);
       },
       true, std::string("Targa (*.tga)|*.tga|Bitmap (*.bmp)|*.bmp|Targa (*.tga)|*.tga|") + kAll, "/skins/a.tga",
       false, false},
      {"Phong Maps > Open", OpenPhongMap, false,
       std::string("Supported Formats (*.bmp;*.pcx)|*.bmp;*.pcx|Greyscale Bitmap (*.bmp)|*.bmp|Greyscale PCX "
                   "(*.pcx)|*.pcx|") + kAll,
       "*.bmp;*.pcx"},
      {"Environment Maps > Open", OpenEnvMap, false,
       std::string("Supported Formats (*.bmp;*.tga)|*.bmp;*.tga|Bitmap (*.bmp)|*.bmp|Targa (*.tga)|*.tga|") + kAll,
       "*.bmp;*.tga"},
      {"Snapshot",
       [this](Application& a) {
         prompter.snapshot.answer = SnapshotDialog{64, 64, SnapshotRendering::Normal};
         ViewRecord view;
         ResizeFrameBuffer(view.frame, 100, 100, false);
         SnapshotCommand(a, view);
       },
       true, std::string("Bitmap (*.bmp)|*.bmp|") + kAll, "*.bmp"},
      {"Preferences' WAV", [](Application& a) { PreferencesBrowser(a).BrowseIntroWav(); }, false,
       std::string("WAV Audio (*.wav)|*.wav|") + kAll, "*.wav"},
      {"UnrealScript Import Lines", ExportUnrealScriptLines, true, std::string("UnrealScript (*.uc)|*.uc|") + kAll,
       "Sampler.uc"},
      // Last: start-up takes "CurFile" as the mesh on screen before it asks.
      {"the start-up Open", [](Application& a) { LoadFirstMesh(a, {{}, true}); }, false,
       std::string("Unreal Raw Model (*.3d)|*.3d|") + kAll, "*.3d", true},
  };
  for (const DialogSite& site : sites) {
    SCOPED_TRACE(site.command);
    prompter.dialogs.clear();
    site.run(app);
    ASSERT_EQ(prompter.dialogs.size(), 1u);
    const FileDialogSpec& spec = prompter.dialogs[0];
    EXPECT_EQ(spec.save, site.save);
    EXPECT_EQ(spec.filter, site.filter);
    EXPECT_EQ(spec.initialName, site.initialName);
    EXPECT_EQ(spec.initialDir, dir.path().string());
    EXPECT_EQ(spec.mustExist, site.mustExist);
    EXPECT_EQ(spec.confirmOverwrite, site.confirmOverwrite);
  }
}

TEST_F(FileDialogSites, EveryFolderBrowserCarriesItsTitle) {
  ScanMapFolderCommand(app, MapKind::Phong);
  ScanMapFolderCommand(app, MapKind::Environment);
  PreferencesBrowser browser(app);
  browser.BrowseMapFolder(MapFolderKind::Phong);
  browser.BrowseMapFolder(MapFolderKind::Environment);
  EXPECT_EQ(prompter.folderTitles,
            (std::vector<std::string>{"Select the folder you wish to browse...", "Select the folder you wish to browse...",
                                      "Select the folder to be scanned for Phong Maps",
                                      "Select the folder to be scanned for Environment Maps"}));
  EXPECT_EQ(prompter.messages, std::vector<std::string>(4, "That folder is not valid"));
}

}  // namespace
}  // namespace mok
