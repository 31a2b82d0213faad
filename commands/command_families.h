// The command families that act on the machine. Each adds its handlers to a program's command
// table (talven/command_table_win32.cpp lists the interpreter's); a new family is one source in
// commands/ (or ui/ for windows), one line here and one line in the table.
#pragma once

struct CommandTable;

void AddFileCommands(CommandTable& table);         // CHECKEXISTS( DELETE( RENAME( MKDIR( RMDIR( ... APPENDFILE(
void AddCopyCommands(CommandTable& table);         // COPYFILE( ENDCOPYFILE() UNCOMPRESS( CONFIRMOVERWRITE( ...
void AddWindowCommands(CommandTable& table);       // SHOWBACKDROP( UPDATEGAUGE( SETGAUGETEXT( SHOWWAITMESSAGE( ...
void AddDialogCommands(CommandTable& table);       // DIALOGBOX(
void AddStreamCommands(CommandTable& table);       // OPEN( CLOSE( READLINE( WRITELINE( SETFILEPOS( GETFILEPOS(
void AddIniCommands(CommandTable& table);          // GETPRIVATEPROFILESTRING( ... DELMULTIPROFILESTRING( WININICHANGED()
void AddRegistryCommands(CommandTable& table);     // REGGETSETTING( ... REGISTER( UNREGISTERSHARED( GETSHARECOUNT(
void AddEnvironmentCommands(CommandTable& table);  // GETENVIRON( SETENVIRON( ADDPATH( CHANGECONFIG(
void AddGroupCommands(CommandTable& table);        // MAKEGROUP( DELETEGROUP( MAKEICON( ... MAKESHORTCUT( DELETESHORTCUT(
void AddRegistrationCommands(CommandTable& table); // DLLSELFREGISTER( REGISTERTYPELIB( REGISTERFONT( ... SETASSOCIATION(
void AddOdbcCommands(CommandTable& table);         // ODBCINSTALLDRIVERMANAGER( ... ODBCCONFIGDATASOURCE(
void AddObjectCommands(CommandTable& table);       // SHOWCUECARD( SETCONTROLTEXT( DESTROYOBJECT(
void AddProcessCommands(CommandTable& table);      // WINEXEC( WAIT( RELEASE() DELAY( MESSAGEBEEP( PLAYWAVEFILE( ...
void AddDeinstallCommands(CommandTable& table);    // OPENDEINSTALL( ADDDEINSTALL( CLOSEDEINSTALL()
void AddRestartCommands(CommandTable& table);      // ADDREPLACEFILE( REGISTERREPLACEFILES() CLEARREPLACEFILES() EXITWINDOWS(
