// The script commands of the copy engine: COPYFILE( in its block and copy forms and the
// copy-list line, ENDCOPYFILE() UNCOMPRESS( CONFIRMOVERWRITE( GETBACKUPNAME(
#pragma once

struct CommandTable;

void AddCopyCommands(CommandTable& table);
