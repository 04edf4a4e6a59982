// ezutool convert -f ENC -t ENC [--lenient] [INPUT [OUTPUT]]: converts a
// text file (or standard input) between two encodings.
#include "tool.h"

#include <errno.h>
#include <stdio.h>

#include "std_stream.h"
#include "stream_convert.h"

namespace {

struct ConvertOptions {
    int from = -1;
    int to = -1;
    bool strict = true;
    bool list = false;
    int files = 0; // how many of input and output were given
    TStr input;
    TStr output;
};

// "-x VALUE", "--xx VALUE" or "--xx=VALUE": the value of an option that
// takes one, or false when `argument` is not that option.
bool optionValue(const TStr& argument, const char* shortName, const char* longName, ToolArgs& args,
                 TStr& value, bool& missing) {
    const TStr withEquals = TStr("%1=").arg(longName);
    if (argument.find(withEquals) == 0) {
        value = argument.mid(withEquals.length());
        return true;
    }
    if (argument != shortName && argument != longName)
        return false;
    missing = args.atEnd();
    if (!missing)
        value = args.take();
    return true;
}

// Reads the options; returns -1 when they are complete, else the status.
int parseOptions(ToolArgs& args, ConvertOptions& options) {
    bool optionsEnded = false;
    while (!args.atEnd()) {
        const TStr argument = args.take();
        const bool isOption = !optionsEnded && argument.charAt(0) == '-' && argument.length() > 1;
        TStr value;
        bool missing = false;
        if (!isOption) {
            if (options.files >= 2)
                return usageError(
                    TStr("convert takes at most INPUT and OUTPUT, not also %1").arg(argument));
            (options.files++ == 0 ? options.input : options.output) = argument;
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--lenient") {
            options.strict = false;
        } else if (argument == "-l" || argument == "--list") {
            options.list = true;
        } else if (optionValue(argument, "-f", "--from", args, value, missing) ||
                   optionValue(argument, "-t", "--to", args, value, missing)) {
            const bool from = argument.find("--from") == 0 || argument == "-f";
            if (missing)
                return usageError(TStr("%1 needs an encoding").arg(argument));
            const int encoding = parseEncoding(value);
            if (encoding < 0)
                return usageError(
                    TStr("unknown encoding %1 (convert --list shows the names)").arg(value));
            (from ? options.from : options.to) = encoding;
        } else {
            return usageError(TStr("unknown option %1").arg(argument));
        }
    }
    if (!options.list && (options.from < 0 || options.to < 0))
        return usageError("convert needs --from ENC and --to ENC");
    return -1;
}

int conversionFailed(const TStr& inputName, const TStr& reason) {
    // The reason goes in first: a "%1" in a file name must not receive it.
    printError(TStr("cannot convert %2: %1").arg(reason).arg(inputName));
    return kExitFailed;
}

// A copy of a path for the fs_ calls, which normalise their argument in place.
class FsPath {
  public:
    explicit FsPath(const TStr& path) : buf_(str_dup(path.buffer())) {}
    ~FsPath() { str_free(buf_); }
    FsPath(const FsPath&) = delete;
    FsPath& operator=(const FsPath&) = delete;
    StrBuf* buf() const { return buf_; }

  private:
    StrBuf* buf_;
};

// Where a converted file goes: the file a symbolic link OUTPUT leads to,
// else OUTPUT itself.
TStr replacedFile(const TStr& output) {
    StrBuf* target = fs_link_target(FsPath(output).buf());
    return target ? TStr::adopt(target) : output;
}

// A name for a new file in the directory of `target`, written with the
// separator the path uses, so that the final rename stays on one volume.
TStr temporaryBeside(const TStr& target) {
    int cut = target.length();
    while (cut > 0 && target.charAt(cut - 1) != '/' && target.charAt(cut - 1) != '\\')
        --cut;
    if (cut == 0 && target.length() >= 2 && target.charAt(1) == ':')
        cut = 2; // "C:name": the drive's current directory
    const TStr directory = target.left(cut);
    for (int counter = 1; counter <= 9999; ++counter) {
        const TStr candidate = directory + TStr("ezutool%1.tmp").arg(counter);
        if (!ezuPathExists(candidate))
            return candidate;
    }
    return TStr();
}

// Converts into a new file beside OUTPUT and puts it in OUTPUT's place only
// when everything converted, so a refused input leaves OUTPUT as it was.
int convertToFile(TEzuIODevice& in, const TStr& inputName, const ConvertOptions& options,
                  ConvertReport& report) {
    const TStr target = replacedFile(options.output);
    const TStr temporary = temporaryBeside(target);
    const FsPath temporaryPath(temporary);
    errno = 0;
    FILE* file = temporary.isEmpty() ? nullptr : fs_open(temporaryPath.buf(), "wb");
    if (!file) {
        printError(TStr("cannot create %2: %1").arg(systemReason()).arg(options.output));
        return kExitFailed;
    }
    fs_remove_on_interrupt(temporaryPath.buf(), file);
    TStdStream out(file);
    bool converted = convertStream(in, out, options.from, options.to, options.strict, report);
    const bool writeFailed = fflush(file) != 0 || ferror(file) != 0;
    const bool closeFailed = fclose(file) != 0;
    in.close(); // Windows replaces no open file, and INPUT may be OUTPUT
    if (converted && (writeFailed || closeFailed)) {
        converted = false;
        report.reason = "cannot write the output";
    }
    int status = kExitOk;
    if (!converted) {
        status = conversionFailed(inputName, report.reason);
    } else {
        fs_copy_mode(FsPath(target).buf(), temporaryPath.buf()); // a new file keeps the default
        errno = 0;
        if (fs_rename(temporaryPath.buf(), FsPath(target).buf()) != 0) {
            printError(TStr("cannot replace %2: %1").arg(systemReason()).arg(options.output));
            status = kExitFailed;
        }
    }
    if (status != kExitOk) {
        fs_set_read_only(temporaryPath.buf(), 0); // it may have OUTPUT's bits by now
        fs_remove_file(temporaryPath.buf());
    }
    fs_remove_on_interrupt(nullptr, nullptr);
    return status;
}

} // namespace

int runConvert(ToolArgs& args) {
    ConvertOptions options;
    const int status = parseOptions(args, options);
    if (status >= 0)
        return status;
    if (options.list) {
        printEncodingList();
        return kExitOk;
    }

    TStdStream standardInput(stdin);
    TEzuPath inputPath(options.input);
    const bool fromFile = options.files > 0 && options.input != "-";
    TEzuIODevice& in = fromFile ? static_cast<TEzuIODevice&>(inputPath) : standardInput;
    const TStr inputName = fromFile ? options.input : TStr("standard input");
    errno = 0;
    if (!in.open(ioRead)) {
        printError(TStr("cannot open %2: %1").arg(systemReason()).arg(inputName));
        return kExitFailed;
    }
    ConvertReport report;
    int result = kExitOk;
    if (options.files == 2 && options.output != "-") {
        result = convertToFile(in, inputName, options, report);
    } else {
        TStdStream standardOutput(stdout);
        standardOutput.open(ioWrite);
        bool converted =
            convertStream(in, standardOutput, options.from, options.to, options.strict, report);
        standardOutput.close();
        if (converted && standardOutput.failed()) {
            converted = false;
            report.reason = "cannot write the output";
        }
        result = converted ? kExitOk : conversionFailed(inputName, report.reason);
    }
    if (result == kExitOk && report.nulAt >= 0)
        printNote(TStr("the text of %2 ends at the NUL character at byte %1; the rest is not "
                       "converted")
                      .arg(double(report.nulAt), 0, 'f', 0)
                      .arg(inputName));
    return result;
}
