// The system's texts as compiled in from resources/texts/*.def: the same entries that the
// programs carry as string resources. The native tests and the fuzz targets read them here;
// the programs load them with LoadStringA.
#pragma once

// The text of entry [id], or nullptr when there is none.
const char* BuiltInText(int id);
