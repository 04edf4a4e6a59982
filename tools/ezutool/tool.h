// ezutool: a console program over ezu's public interface. One file per
// subcommand; this header holds what they share.
#ifndef EZUTOOL_TOOL_H
#define EZUTOOL_TOOL_H

#include "ezu/ezu.h"

// Exit statuses: success, a failed operation, a usage error.
enum { kExitOk = 0, kExitFailed = 1, kExitUsage = 2 };

// The process command line from a given element on, read one element at a
// time. Elements come from ezuCommandLineArg, so they hold any character.
class ToolArgs {
  public:
    ToolArgs(int first, int count) : next_(first), count_(count) {}
    bool atEnd() const { return next_ >= count_; }
    TStr peek() const { return ezuCommandLineArg(next_); }
    TStr take() { return ezuCommandLineArg(next_++); }

  private:
    int next_;
    int count_;
};

// Splits "KEY=VALUE" at its first "="; false when there is none or the key
// is empty.
bool splitAssignment(const TStr& text, TStr& key, TStr& value);

// Output and messages, all in the console's encoding. printOut writes text
// to standard output unless the quiet flag is set; printError writes
// "ezutool: <text>" and a line end to standard error, whatever the flag;
// printNote does the same as "ezutool: note: <text>", but not when quiet;
// usageError adds the short usage and returns kExitUsage; printUsage writes
// the full help to standard output, also when quiet.
void printOut(const TStr& text);
void printError(const TStr& text);
void printNote(const TStr& text);
int usageError(const TStr& text);
void printUsage();

// The system's words for the last failed file operation ("Permission
// denied"), or "failed" when it gave none.
TStr systemReason();

// Encodings by name (any case, with or without "-") or number; -1 for
// neither. printEncodingList shows the names.
int parseEncoding(const TStr& text);
void printEncodingList();

// The subcommands; each takes the arguments after its name and returns the
// exit status.
int runConvert(ToolArgs& args);
int runCommand(ToolArgs& args);
int runInfo(ToolArgs& args, int argc);
int runExpand(ToolArgs& args);
int runSettings(ToolArgs& args);
int runPlugin(ToolArgs& args);

#endif
