// A standard stream (standard input or output) as a byte-stream device, so
// that the converter reads and writes files and standard streams alike.
#ifndef EZUTOOL_STD_STREAM_H
#define EZUTOOL_STD_STREAM_H

#include <stdio.h>

#include "ezu/ezu.h"

class TStdStream : public TEzuIODevice {
  public:
    explicit TStdStream(FILE* stream) : stream_(stream) {}

    // Switches to binary mode: converted bytes must pass unchanged.
    bool open(int) override {
        fs_set_binary_mode(stream_);
        return true;
    }
    void close() override { fflush(stream_); }
    int read(void* data, int count) override { return int(fread(data, 1, count, stream_)); }
    int write(const void* data, int count) override { return int(fwrite(data, 1, count, stream_)); }
    int getc() override { return fgetc(stream_); }
    int putc(int c) override { return fputc(c, stream_); }
    int ungetc(int c) override { return ::ungetc(c, stream_); }
    int atEnd() override { return feof(stream_) ? 1 : 0; }
    // Whether a read or write failed, the flush of close() included.
    bool failed() const { return ferror(stream_) != 0; }

  private:
    FILE* stream_;
};

#endif
