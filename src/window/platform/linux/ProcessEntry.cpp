// The Linux entry of the window program: the toolkit's texts in Chinese
// through the message catalogues, whatever the desktop's language.
#include "window/platform/ProcessEntry.h"

#include <clocale>
#include <cstdlib>
#include <string>

#include <wx/app.h>

namespace movra {
namespace {

// The program speaks Chinese whatever the desktop's language: the toolkit's
// own dialogs (file and folder choosers, message box buttons) are asked for
// their zh_CN texts. Message catalogues are not consulted in the C locale, so
// messages alone move to C.UTF-8 then; every other category stays as it was.
void AskForChineseMessages() {
  setenv("LANGUAGE", "zh_CN:zh", 1);
  std::string messages;
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') {
      messages = value;
      break;
    }
  }
  if (!messages.empty() && messages != "C" && messages != "POSIX") return;
  if (const char* all = std::getenv("LC_ALL"); all != nullptr && *all != '\0') {
    setenv("LANG", all, 1);  // LC_ALL would override LC_MESSAGES
    unsetenv("LC_ALL");
  }
  setenv("LC_MESSAGES", "C.UTF-8", 1);
}

}  // namespace

int RunWindowProgram(int argc, char** argv) {
  AskForChineseMessages();
  // The toolkit leaves the process locale alone; only the message category is
  // taken from the environment, so formats and collation stay as they are.
  std::setlocale(LC_MESSAGES, "");
  return wxEntry(argc, argv);
}

}  // namespace movra
