// Byte-stream devices: the abstract interface and the in-memory device.
#ifndef EZU_IO_DEVICE_H
#define EZU_IO_DEVICE_H

#include "ezu/strings/tstr.h"

// Open mode bits shared by all devices.
enum { ioRead = 1, ioWrite = 2, ioUpdate = 4, ioText = 8 };

class TEzuIODevice {
  public:
    TEzuIODevice() {}
    virtual ~TEzuIODevice() {}
    virtual bool open(int mode) = 0;
    virtual void close() = 0;
    virtual int read(void* data, int count) = 0;
    virtual int write(const void* data, int count) = 0;
    virtual int getc() = 0;
    virtual int putc(int c) = 0;
    virtual int ungetc(int c) = 0;
    virtual int atEnd() = 0;
};

// Reads from and appends to a TStr it does not own, through the string's
// 7-bit view: every character is one byte there.
class TEzuStrIODevice : public TEzuIODevice {
  public:
    explicit TEzuStrIODevice(TStr* target);
    explicit TEzuStrIODevice(TStr& target);
    ~TEzuStrIODevice() override;

    bool open(int mode) override;
    void close() override;
    int read(void* data, int count) override;
    int write(const void* data, int count) override;
    int getc() override;
    int putc(int c) override;
    int ungetc(int c) override;
    int atEnd() override;

  private:
    TStr* target_;
    int position_;
    int mode_;
};

#endif
