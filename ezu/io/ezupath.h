/// @file
/// TEzuPath: a file-system path that is both a string and a byte-stream device.
#ifndef EZU_IO_EZUPATH_H
#define EZU_IO_EZUPATH_H

#include "ezu/ezu_export.h"

#include <stdio.h>

#include "ezu/io/device.h"
#include "ezu/strings/tstr.h"

/// The run-time stream of an open path; kept apart from the path so that a
/// path never opened carries no stream state at all.
struct StreamHandle {
    FILE* file; ///< the open stream, or null
};

/// A path that is its own text (a TStr) and a device reading and writing the
/// file it names. Separators are written `\`; the file calls rewrite "/" to
/// `\` in the path's text. Device calls on a path that is not open do
/// nothing and report failure (0 bytes, -1, or 1 from atEnd()).
class EZU_API TEzuPath : public TEzuIODevice, public TStr {
  public:
    /// An empty path.
    TEzuPath();
    /// A path from 7-bit text (a byte above 127 becomes "?").
    TEzuPath(const char* text);
    /// A path with a copy of `text`.
    TEzuPath(const TStr& text);
    TEzuPath(const TEzuPath& other); ///< the copy starts closed
    /// A path with a copy of `buf`'s text; the caller keeps `buf`.
    explicit TEzuPath(const StrBuf* buf);
    ~TEzuPath() override; ///< closes a stream that is still open
    /// Copies the text; a stream this path holds is closed, since the text it
    /// was opened on changes.
    TEzuPath& operator=(const TEzuPath& other);

    /// @name Device operations
    /// Device operations; `open` closes a stream that is already open first.
    //@{
    /// Opens the file in `mode`: ioRead "rb", ioWrite "wb" (also with ioRead),
    /// with ioUpdate "r+b" or "w+b", with ioText "t" in place of "b". False
    /// when the file cannot be opened, for an empty path, or without either
    /// ioRead or ioWrite; the reason is not reported.
    bool open(int mode) override;
    /// Closes the stream; nothing happens when none is open.
    void close() override;
    /// Reads up to `count` bytes; returns the bytes read.
    int read(void* data, int count) override;
    /// Writes `count` bytes; returns the bytes written.
    int write(const void* data, int count) override;
    /// The next byte (0 to 255), or -1 at the end or on failure.
    int getc() override;
    /// Writes one byte; returns it, or -1.
    int putc(int c) override;
    /// Pushes `c` back into the stream; returns it, or -1.
    int ungetc(int c) override;
    /// 1 once a read has tried to go past the end (not on reaching the last
    /// byte), else 0.
    int atEnd() override;
    /// Moves to the start of the file; 0 on success, -1 on failure.
    int rewind();
    /// True while a stream is open.
    bool isOpen() const;
    //@}

    /// @name Path text
    /// Path text. leaf() and extension() rewrite "/" to `\` in the path's
    /// text first.
    //@{
    /// The text after the last separator (the whole text without one).
    TStr leaf();
    /// The text after the last "." (empty without one).
    TStr extension();
    /// The complete form (path_absolute()); a new path, closed.
    TEzuPath absolute() const;
    /// The complete path the file calls act on (path_resolve): absolute(),
    /// except that a path from the drive root gets only the current drive.
    TEzuPath resolved() const;
    /// absolute(), then `name` joined with one separator at the seam.
    TEzuPath absoluteJoin(const TStr& name) const;
    /// This path's text and `name` with one separator at the seam; not
    /// completed first.
    TEzuPath join(const TStr& name) const;
    /// join() with a 7-bit `name`.
    TEzuPath join(const char* name) const;
    /// A copy without the leaf (stripLeaf()): 'C:' for `C:\x`, empty for 'x'.
    TEzuPath parent() const;
    /// parent() of this path, made complete first when `makeAbsolute` is set.
    TEzuPath directory(bool makeAbsolute) const;
    /// Replaces the text with a copy of `text`; returns its byte length, or 0
    /// for a null-state `text`, which leaves the path empty.
    int setText(const TStr& text);
    /// Drops the text from the last separator on (all of it without one);
    /// returns true.
    bool stripLeaf();
    //@}

    /// @name File system
    /// File system. exists(), isFile(), isDirectory(), size() and remove()
    /// rewrite "/" to `\` in the path's text first.
    //@{
    /// Whether the file or directory exists.
    bool exists();
    /// Whether it is an existing regular file.
    bool isFile();
    /// Whether it is an existing directory.
    bool isDirectory();
    /// Whether it exists and may be written (not read-only).
    bool isWritable() const;
    /// Whether it exists and may be read.
    bool isReadable() const;
    /// The file's size in bytes, 0 when it is missing.
    int size();
    /// Creates the directory named by the text with `suffix` appended as it
    /// stands (no separator is added); true when it was created. Only the
    /// last level is made; this path is unchanged.
    bool makeDirectory(const TStr& suffix) const;
    /// Removes the file; 0 on success, -1 on failure.
    int remove();
    /// Renames the file to `target`, replacing an existing file of that name
    /// (not a directory or a read-only file); 0 on success, -1 on failure. The
    /// path keeps its text. Close the path first: Windows renames no open file.
    int renameTo(const TStr& target) const;
    //@}

  private:
    // Replaces the text with `text` (taken over); assignment drops the
    // string's cached view, which an in-place change would leave stale.
    void installText(StrBuf* text);
    // Rewrites "/" to "\" in the text, as the fs_ functions would in place.
    void normalizeText();

    StreamHandle* handle_;
};

/// `text` with each run of "/" turned into one `\` and runs at either end dropped.
EZU_API TStr backslashed(const TStr& text);

#endif
