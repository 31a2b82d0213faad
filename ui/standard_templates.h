// The in-memory templates of DIALOGBOX('s built-in pages, of the directory browser and of the
// About box: sizes, ids, fonts and button captions. The texts that come from variables are put
// into the controls when a page opens. Portable, so that the bytes are checked without Windows.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "support/dialog_template.h"
#include "ui/standard_pages.h"

// A text by number: the language captions from 14000 up, the program's own texts below.
using PageTextLookup = std::function<std::u16string(int id)>;

std::vector<uint8_t> StandardPageTemplate(const StandardPage& page, const PageTextLookup& text);
std::vector<uint8_t> DirectoryBrowserTemplate(const PageTextLookup& text);
std::vector<uint8_t> AboutBoxTemplate(const PageTextLookup& text);

// A page's size in dialog units.
struct PageSize {
  int width, height;
};
PageSize StandardPageSize(const StandardPage& page);

// The program's own texts of the pages (resources/texts/dialogs.def).
enum PageTextId : int {
  TEXT_SETUP = 57344,
  TEXT_ABOUT_PURPOSE = 1300,
  TEXT_ABOUT_VERSION = 1301,
  TEXT_ABOUT_MAKER = 1302,
  TEXT_ABOUT_DEFAULT = 1303,
  TEXT_INVALID_PATH = 1304,
};

// The application icon that the pages show.
constexpr uint16_t kApplicationIcon = 31234;

// Control ids.
enum PageControl : int {
  PAGE_MESSAGE1 = 200,   // MESSAGEi is 199 + i
  PAGE_PATH = 50,        // ASKPATH's field
  PAGE_FIELD1 = 51,      // INPUTBOX field i is 50 + i
  PAGE_PATH_LABEL = 212,
  PAGE_BROWSE = 16,
  PAGE_BACK = 9,
  PAGE_ABOUT = 10,
  PAGE_PUSH1 = 11,       // push button i is 10 + i; DEINSTALL's Install and De-Install are 11 and 12
  PAGE_CHECK1 = 230,     // check box i is 229 + i
  PAGE_RADIO1 = 220,     // radio button i is 219 + i
  PAGE_AGREEMENT_LIST = 254,
  BROWSER_CURRENT = 213,
  BROWSER_DIRECTORIES = 250,
  BROWSER_DRIVES = 251,
  ABOUT_TEXT = 202,
};
