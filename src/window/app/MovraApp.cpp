#include "window/app/MovraApp.h"

#include <cstdlib>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <wx/msgdlg.h>
#include <wx/translation.h>

#include "window/app/TForm1.h"
#include "workflows/WindowArguments.h"
#include "window/app/WindowSettings.h"
#include "window/dialogs/About.h"
#include "platform/DataHome.h"
#include "platform/DriveMap.h"
#include "platform/FileSystem.h"
#include "platform/TextCodec.h"

namespace movra {
namespace {

// The text of the exception being handled; empty for a thrown object that is not a std::exception.
wxString CurrentExceptionText() {
  try {
    throw;
  } catch (const std::exception& error) {
    return wxString::FromUTF8(error.what());
  } catch (...) {
    return wxString();
  }
}

void ShowException(const wxString& text) {
  wxMessageBox(text, "Movra", wxOK | wxICON_ERROR);
}

// The folder given with --home DIR (or --home=DIR) on the command line, if any.
std::optional<std::filesystem::path> HomeOption(int argc, const wxCmdLineArgsArray& argv) {
  std::optional<std::filesystem::path> home;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i].utf8_string();
    if (arg == "--home" && i + 1 < argc) {
      home = NativeOfFsPath(argv[++i].utf8_string());
    } else if (arg.rfind("--home=", 0) == 0) {
      home = NativeOfFsPath(arg.substr(7));
    }
  }
  return home;
}

}  // namespace

bool MovraApp::OnInit() {
  SetAppName("Movra");
  // wxWidgets' own texts (stock buttons, file dialogs) in Chinese on any system locale.
  auto* translations = new wxTranslations;
  translations->SetLanguage("zh_CN");
  translations->AddStdCatalog();
  wxTranslations::Set(translations);
  try {
    const DataHomeResult located = LocateDataHome(SourcesFromEnvironment(HomeOption(argc, argv)));
    if (!located.home) {
      wxMessageBox(wxString::FromUTF8(GbkToUtf8(located.error)), "Movra", wxOK | wxICON_INFORMATION);
      return false;
    }
    TForm1Options options;
    options.program_folder = ProgramFolder();
    options.home = located.home;
    options.drives = DetectDrives();
    options.settings_file = DefaultSettingsFile(*located.home);
    auto* form = new TForm1(std::move(options));
    SetTopWindow(form);
    form->Show();
    // Snapshot files named on the command line (a file manager opening .cdg
    // files) are imported once the window is up.
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(argv[i].utf8_string());
    if (std::vector<std::string> files = ImportFilesOf(args); !files.empty()) {
      form->CallAfter([form, files = std::move(files)] { form->ImportSnapshotFiles(files); });
    }
    // The hidden About box of the run, owned by the main window. The About
    // command shows a fresh box of its own each time.
    new TForm6(form);
  } catch (...) {
    ShowException(CurrentExceptionText());
    std::exit(0);
  }
  return true;
}

bool MovraApp::OnExceptionInMainLoop() {
  ShowException(CurrentExceptionText());
  return true;
}

void MovraApp::OnUnhandledException() {
  ShowException(CurrentExceptionText());
  std::exit(0);
}

int MovraApp::OnExit() { return 0; }

}  // namespace movra
