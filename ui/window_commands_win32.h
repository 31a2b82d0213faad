// The script commands of the installer's own windows: SHOWBACKDROP( UPDATEGAUGE( SETGAUGETEXT(
// SHOWWAITMESSAGE( HIDEWAITMESSAGE() POSITIONDIALOG( CENTREDIALOG(
#pragma once

struct CommandTable;

void AddWindowCommands(CommandTable& table);
