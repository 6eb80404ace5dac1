// Starting a run's command lines without the command interpreter where it
// would add nothing but a second process start per file.
#pragma once

#include <string>
#include <string_view>

namespace runner {

class Platform;

// The file the command interpreter would run for the program text, looked
// up as it looks: a name with a path in that directory only, a bare name in
// the working directory first and then along PATH; a name without an
// extension tried with each of PATHEXT's in turn. Empty when nothing is
// found, when PATHEXT is not set, or when the text is one the interpreter
// reads otherwise (a built-in command, a delimiter in the name, a wildcard).
std::string ResolveProgram(std::string_view program, Platform& platform);

// Why the program text cannot start, as one message naming it and where
// Lorvan looked: not found, a folder, or a file that is no program (its
// extension is none of PATHEXT's, which the interpreter would open with
// whatever program the extension is associated with). Empty when a start
// finds a program, when the text names a command of the interpreter, or
// when the interpreter reads the text otherwise: its answer is the result.
// found, where given, gets the file a start would run (empty when the text
// is left to the interpreter).
std::string ProgramProblem(std::string_view program, Platform& platform, std::string* found = nullptr);

// What a program file is, by its first bytes (a header) and its name.
enum class ProgramKind {
    Windows,    // a PE program
    Dos,        // an MZ program that is no PE or NE one (DOS extenders' LE and LX too), or a .COM
    Windows16,  // an NE program: 16-bit Windows (or OS/2)
    Other,      // anything else: a batch program, a script
};
ProgramKind KindOfProgram(std::string_view header, std::string_view name);

// What the program file is; Other when it cannot be read.
ProgramKind ReadProgramKind(const std::string& path, Platform& platform);

// Why a program file of that kind cannot start on this Windows, as one
// message: a DOS program where the system runs none, a 16-bit Windows
// program. Empty when it can.
std::string StartProblem(std::string_view program, const std::string& path, ProgramKind kind, Platform& platform);

// Whether the resolved file can be started without the interpreter: a .exe or .com.
bool IsDirectlyStartable(std::string_view resolved);

// Whether the interpreter would hand the text to the program unchanged: it
// holds none of the characters the interpreter gives a meaning to (a quote
// alone it passes on).
bool InterpreterLeavesUnchanged(std::string_view text);

}  // namespace runner
