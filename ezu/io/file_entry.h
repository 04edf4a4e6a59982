/// @file
/// TEzuFile: one file an application lists and manages. Its comment and
/// enabled state are kept in the settings store under a key made from the
/// file's complete path, so every entry for the same file shares them.
#ifndef EZU_IO_FILE_ENTRY_H
#define EZU_IO_FILE_ENTRY_H

#include "ezu/ezu_export.h"

#include "ezu/strings/tstr.h"

/// One file of an application's list: its path, a number and two marks of
/// the application's choosing, and a comment and enabled state kept in the
/// settings store under "_comment" and "_disable" keys made from the file's
/// complete path, each run of `\`, "/", ".", ";" and ":" written as one "_"
/// ('C:/Data/report.txt' gives 'C_Data_report_txt_disable').
class EZU_API TEzuFile {
  public:
    /// `path` is UTF-8 text.
    /// The comment and the extra text start empty, the marks false; the
    /// settings store is not read (setPath() reads it).
    TEzuFile(const char* path, int number, bool enabled);
    /// Copies the path, number, comment, enabled state and mark B; mark A is
    /// false and the extra text empty.
    TEzuFile(const TEzuFile& other);
    /// Copies the path, number, comment and enabled state; the marks and the
    /// extra text keep their values. Nothing is stored.
    TEzuFile& operator=(const TEzuFile& other);
    /// Leaves the stored state in the store.
    virtual ~TEzuFile();

    /// The text a list shows for the entry; the base gives extraText().
    virtual TStr itemText() const;
    /// A question a derived class answers about the file; false here.
    virtual bool queryA() const;
    /// A second such question; false here.
    virtual bool queryB() const;

    /// The path as given.
    TStr path() const { return path_; }
    /// The comment.
    TStr comment() const { return comment_; }
    /// The application's text for the entry (not stored).
    TStr extraText() const { return extraText_; }
    /// The application's number for the entry.
    int number() const { return number_; }
    /// Whether the entry is enabled.
    bool enabled() const { return enabled_; }
    /// The application's mark A (not stored).
    bool markA() const { return markA_; }
    /// The application's mark B (not stored).
    bool markB() const { return markB_; }

    /// Sets the number; returns this entry. Nothing is stored.
    TEzuFile& setNumber(int number);
    /// Sets mark A; returns this entry. Nothing is stored.
    TEzuFile& setMarkA(bool mark);
    /// Sets mark B; returns this entry. Nothing is stored.
    TEzuFile& setMarkB(bool mark);
    /// Sets the extra text. Nothing is stored.
    void setExtraText(const TStr& text);
    /// Names another file, then reads its stored state: a stored disable
    /// turns the entry off, and a stored comment is taken when the entry has
    /// none.
    void setPath(const TStr& path);
    /// Sets the comment and stores it for every entry of this file.
    void setComment(const TStr& comment);
    /// Sets the enabled state and stores it (as "_disable", 1 or 0).
    void setEnabled(bool enabled);

    /// The file name: the text after the last separator.
    TStr name() const;
    /// The text after the last "." (empty when there is none).
    TStr extension() const;
    /// The complete path, as TEzuPath::resolved() gives it.
    TStr absolutePath() const;

  private:
    TStr settingsKey() const;
    void refresh();

    TStr path_;
    int number_;
    TStr comment_;
    bool enabled_;
    bool markA_;
    bool markB_;
    TStr extraText_;
};

#endif
