/// @file
/// Byte-stream devices: the abstract interface and the in-memory device.
#ifndef EZU_IO_DEVICE_H
#define EZU_IO_DEVICE_H

#include "ezu/ezu_export.h"

#include "ezu/strings/tstr.h"

/// Open mode bits shared by all devices: read, write (which empties a file
/// even with ioRead), update (read and write an existing file with ioRead, a
/// new one with ioWrite) and text (the run-time's text mode).
enum { ioRead = 1, ioWrite = 2, ioUpdate = 4, ioText = 8 };

/// A byte stream that can be opened, read, written and closed. Files
/// (TEzuPath) and strings (TEzuStrIODevice) are devices.
class EZU_API TEzuIODevice {
  public:
    /// A closed device.
    TEzuIODevice() {}
    /// Destroys the device.
    virtual ~TEzuIODevice() {}
    /// Opens in `mode` (the io bits); true on success.
    virtual bool open(int mode) = 0;
    /// Closes; a closed device stays closed.
    virtual void close() = 0;
    /// Reads up to `count` bytes into `data`; returns the bytes read.
    virtual int read(void* data, int count) = 0;
    /// Writes `count` bytes from `data`; returns the bytes accepted.
    virtual int write(const void* data, int count) = 0;
    /// The next byte, or -1 at the end or on failure.
    virtual int getc() = 0;
    /// Writes one byte; returns it, or -1 on failure.
    virtual int putc(int c) = 0;
    /// Steps back over one byte read; returns `c`, or -1 when it cannot.
    virtual int ungetc(int c) = 0;
    /// Non-zero once the device has no more to read.
    virtual int atEnd() = 0;
};

/// Reads from and appends to a TStr it does not own, through the string's
/// 7-bit view: every character is one byte there.
///
/// Reading: the device remembers the view's length and where its position
/// lies in the text, so getc, atEnd and read cost O(1) per byte while the
/// target is unchanged. It knows the target changed by the string's change
/// count and its text block; text changed through buffer() directly, behind
/// the string's back, is seen only once the block or the count changes.
///
/// Writing: bytes are UTF-8 and arrive in any chunks. A character cut off at
/// the end of a write is held back (at most five bytes) until a later write
/// completes it, and counts as accepted. A zero byte where a character starts,
/// or a sequence that reads as character 0 (such as C0 80), can never be text:
/// the write stops there and returns the count of the bytes before it. Held
/// bytes are not text yet, so getc, read and atEnd do not see them. A putc
/// or close while bytes are held, and destroying the device, ends the cut
/// character: it is appended as "?" (close and the destructor touch the target
/// only then).
class EZU_API TEzuStrIODevice : public TEzuIODevice {
  public:
    /// A device on `target`, which must outlive it; reading starts at the
    /// first character.
    explicit TEzuStrIODevice(TStr* target);
    /// The same, for a reference.
    explicit TEzuStrIODevice(TStr& target);
    /// Appends a held cut-off character as "?".
    ~TEzuStrIODevice() override;

    /// Takes `mode` (read needs ioRead); always true.
    bool open(int mode) override;
    /// Appends a held cut-off character as "?"; the device stays usable.
    void close() override;
    /// Copies up to `count` bytes of the 7-bit view from the position on;
    /// 0 at the end, without ioRead, or for null `data`.
    int read(void* data, int count) override;
    /// Appends UTF-8 bytes to the target as described above; returns the
    /// bytes accepted (0 for null `data` or a count below 1).
    int write(const void* data, int count) override;
    /// The first byte of the next character, sign-extended (a character
    /// above 127 gives a negative value), or -1 at the end.
    int getc() override;
    /// Appends `c` as a 7-bit character (above 127 as "?"); returns `c`.
    int putc(int c) override;
    /// Steps back one character; returns `c`, or -1 at the start. The text
    /// is not changed.
    int ungetc(int c) override;
    /// 1 once every character has been read, else 0.
    int atEnd() override;

  private:
    // Brings the remembered length up to date when the target changed.
    void sync();
    bool unchanged() const;
    void remember();
    // Byte offset of character `index` (at most the number of characters),
    // moving the remembered place there.
    int byteOf(int index);
    // Appends converted text, keeping what is remembered where it still holds.
    void appendText(const char* bytes, int count);
    // Updates what is remembered after an append of `chars` characters and
    // `bytes` bytes; `keep` says it held just before.
    void appended(bool keep, int chars, int bytes);
    // Appends "?" for held bytes and forgets them.
    void endHeldCharacter();
    // Bytes from `bytes` up to the first that can never be text, at most
    // `count`; *held gets the length of a character cut off at the end.
    static int textPrefix(const unsigned char* bytes, int count, int* held);

    TStr* target_;
    int position_;
    int mode_;

    // What is remembered of the target, valid while `known_`.
    bool known_;
    bool clean_; // the view holds every character: appends only add
    const char* seenData_;
    int seenCapacity_;
    unsigned seenChanges_;
    int length_;    // length of the 7-bit view
    int bytes_;     // length of the text in bytes
    int placeChar_; // a character index and its byte offset
    int placeByte_;
    int backByte_; // byte offset of character placeChar_ - 1, or -1

    unsigned char held_[8];
    int heldCount_;
};

#endif
