// ezutool convert --from ENC --to ENC [INPUT [OUTPUT]]: converts a text file
// (or standard input) between two encodings.
#include "tool.h"

#include <limits.h>
#include <stdio.h>

#include "std_stream.h"
#include "stream_convert.h"

namespace {

const char* const kEncodingNames[] = {"ascii", "utf8", "utf16", "utf16be", "utf16le", "utf32"};

// An encoding by name or number; -1 when the text is neither.
int parseEncoding(const TStr& text) {
    for (int encoding = ENC_ASCII; encoding <= ENC_UTF32; ++encoding)
        if (text == kEncodingNames[encoding])
            return encoding;
    bool ok = false;
    const int number = text.toInt(&ok);
    return ok && str_encoding_valid(number) ? number : -1;
}

struct ConvertOptions {
    int from = -1;
    int to = -1;
    int files = 0; // how many of input and output were given
    TStr input;
    TStr output;
};

// Reads the options; returns -1 when they are complete, else the status.
int parseOptions(ToolArgs& args, ConvertOptions& options) {
    while (!args.atEnd()) {
        const TStr argument = args.take();
        if (argument == "--from" || argument == "--to") {
            if (args.atEnd())
                return usageError(TStr("%1 needs an encoding").arg(argument));
            const TStr name = args.take();
            const int encoding = parseEncoding(name);
            if (encoding < 0)
                return usageError(TStr("unknown encoding %1").arg(name));
            (argument == "--from" ? options.from : options.to) = encoding;
        } else if (argument.charAt(0) == '-' && argument.length() > 1) {
            return usageError(TStr("unknown option %1").arg(argument));
        } else if (options.files < 2) {
            (options.files++ == 0 ? options.input : options.output) = argument;
        } else {
            return usageError(
                TStr("convert takes at most INPUT and OUTPUT, not also %1").arg(argument));
        }
    }
    if (options.from < 0 || options.to < 0)
        return usageError("convert needs --from ENC and --to ENC");
    return -1;
}

int conversionFailed(const TStr& inputName, const TStr& reason) {
    // The reason goes in first: a "%1" in a file name must not receive it.
    printError(TStr("cannot convert %2: %1").arg(reason).arg(inputName));
    return kExitFailed;
}

// Converts into a new file beside OUTPUT and puts it in OUTPUT's place only
// when everything converted, so a rejected input leaves OUTPUT as it was.
int convertToFile(TEzuIODevice& in, const TStr& inputName, const ConvertOptions& options) {
    const TEzuPath target(options.output);
    TStr directory = target.directory(true);
    // The root of a drive comes back as 'C:', which names no directory; other
    // directories must not end in "\", which Windows' stat refuses.
    if (directory.length() == 2)
        directory += "\\";
    TStr name;
    int counter = 1;
    if (!uniqueFileName(directory, name, "ezutool%1.tmp", counter, 9999)) {
        printError(TStr("cannot write in the directory of %1").arg(options.output));
        return kExitFailed;
    }
    TEzuPath temporary = TEzuPath(directory).join(name);
    if (!temporary.open(ioWrite)) {
        printError(TStr("cannot create %1").arg(temporary));
        return kExitFailed;
    }
    TStr reason;
    long long written = 0;
    bool converted = convertStream(in, temporary, options.from, options.to, reason, &written);
    temporary.close();
    in.close(); // Windows replaces no open file, and INPUT may be OUTPUT
    // The path reports no failure of the final flush at close; a file shorter
    // than what was written means the disk refused the rest. (Its size reads
    // as a 32-bit number, so the check holds for files below 2 GiB.)
    if (converted && written < INT_MAX && temporary.size() != written) {
        converted = false;
        reason = "cannot write the output";
    }
    if (!converted) {
        temporary.remove();
        return conversionFailed(inputName, reason);
    }
    if (temporary.renameTo(target) != 0) {
        temporary.remove();
        printError(TStr("cannot replace %1").arg(options.output));
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace

int runConvert(ToolArgs& args) {
    ConvertOptions options;
    const int status = parseOptions(args, options);
    if (status >= 0)
        return status;

    TStdStream standardInput(stdin);
    TEzuPath inputPath(options.input);
    const bool fromFile = options.files > 0;
    TEzuIODevice& in = fromFile ? static_cast<TEzuIODevice&>(inputPath) : standardInput;
    const TStr inputName = fromFile ? options.input : TStr("standard input");
    if (!in.open(ioRead)) {
        printError(TStr("cannot open %1").arg(inputName));
        return kExitFailed;
    }
    if (options.files == 2)
        return convertToFile(in, inputName, options);

    TStdStream standardOutput(stdout);
    standardOutput.open(ioWrite);
    TStr reason;
    bool converted = convertStream(in, standardOutput, options.from, options.to, reason);
    standardOutput.close();
    if (converted && standardOutput.failed()) {
        converted = false;
        reason = "cannot write the output";
    }
    return converted ? kExitOk : conversionFailed(inputName, reason);
}
