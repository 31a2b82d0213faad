// The condition of IF and WHILE, and the block records of the current script file.
#pragma once

#include "engine/interpreter.h"

// Evaluates the condition at the cursor: sets [chain] to 1 when it holds and leaves the cursor
// after it. Returns 0 or a ScriptError code.
int EvaluateCondition(Interpreter& ip, TokenLine& line);

int PushIf(Interpreter& ip);     // 0 or 10078 at a ninth level
void PopIf(Interpreter& ip);
int PushWhile(Interpreter& ip);  // 0 or 10079 at a ninth level
void PopWhile(Interpreter& ip);
