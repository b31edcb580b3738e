// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The game's INI files ("save/highscores.ini", "save/Sauvegardes.ini"): a reader and writer with
// the rules of the classic profile-file functions, on Windows-1252 text.
//
// File format, as read:
// - A file that starts with the UTF-16 little-endian byte-order mark (FF FE) is UTF-16 text, and
//   is written back so; any other file is Windows-1252 (a UTF-8 byte-order mark is no mark: its
//   bytes are the first line's first characters).
// - A line ends at CRLF, LF or a lone CR (so LF CR and CR CR LF end lines too, the empty lines
//   between them reading as nothing). A line "[name]" opens a section; a line "key=value" sets a
//   key of the section above it; lines starting with ";" and all other lines are ignored. Blanks
//   (space, tab, vertical tab, form feed) around section names, keys and values are dropped; a NUL
//   ends a name or a value; then one pair of the same quotes (" or ') enclosing a value is dropped.
// - Section and key names match without regard to letter case. Of several sections of one name
//   only the first counts (a key that only a later one holds reads as missing), and in it the
//   first of several keys of one name.
// - A value comes back with at most kValueLimit characters; a longer one is cut.
//
// A pass: open an IniFile on a file name, read and write, then release(). Reads see the writes of
// the same pass. Nothing is kept from one pass to the next. A pass holds the lock of the file's
// folder (FolderLock) from its first read or write to its end, so that the passes of several
// copies of the game on one folder follow one another.
//
// Writes of a pass reach the disk together, at release(), as one atomic replace of the file: the
// new text goes to a temporary file in the same folder, is flushed to the disk, renamed over the
// file, and the folder is flushed too. A process killed at any instant therefore leaves either the
// file as it was before the pass or the file with every write of the pass, never a file that is
// cut short or holds only part of a pass (a table of scores half old and half new). Each write
// still checks at once that the file can be written, so a missing folder fails at the first write
// of a pass. A pass ended by an error, before release(), writes nothing: the file stays as it was.
//
// Every failure to write raises "Unable to write to <file name>", with the file name as given;
// the folder is never created.

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <memory>
#include <optional>
#include <vector>

namespace vorn {

// The advisory lock (flock) of the folder that holds a file, for as long as the object lives: the
// passes of several copies of the game on the files of one folder (the saves of a player's game
// folder) follow one another instead of undoing one another's writes. The lock of a process that
// dies goes with it. Taken again by the same process while held, it only counts; released by the
// last holder. A folder that cannot be opened is not locked (its files cannot be written either).
// Another process that holds the lock longer than kPatienceMs (a copy of the game stopped in the
// middle of a pass) is not waited for any longer: the pass goes on without the lock.
class FolderLock {
  public:
    static constexpr int kPatienceMs = 10'000;
    explicit FolderLock(const QString& fileName);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    // Whether this process holds the lock of the folder now.
    bool held() const { return !key_.isEmpty(); }

  private:
    QByteArray key_;  // the folder's real path, empty when not locked
};

class IniFile {
  public:
    // Characters a value read can have at most (the rest of a longer value is cut).
    static constexpr qsizetype kValueLimit = 2047;

    // `fileName` is relative to the working directory; nothing is read before the first call.
    explicit IniFile(QString fileName);
    // An IniFile destroyed before release() drops the writes of its pass.
    ~IniFile();
    IniFile(const IniFile&) = delete;
    IniFile& operator=(const IniFile&) = delete;

    const QString& fileName() const { return fileName_; }

    // The key's value, or `defaultValue` when the file, the section or the key is missing. A key
    // present with an empty value reads as empty text.
    QString readString(const QString& section, const QString& key, const QString& defaultValue);
    // The key's value converted by parseProfileInteger(), or `defaultValue` when it does not
    // convert (also when it is missing or empty).
    int readInteger(const QString& section, const QString& key, int defaultValue);

    // Sets the key: an existing value is replaced on its own line, a missing key is added at the
    // end of its section, a missing section at the end of the file; every other line is kept byte
    // for byte. A value that would not read back as it is (blanks at its ends, or enclosed in
    // quotes) is written in double quotes. In a Windows-1252 file a character the set cannot hold
    // is written as storableText() gives it. Every character a read can return is written back as
    // it was; only what no line can hold is refused, with an error naming the key: a value holding
    // a CR, an LF or a NUL, and names the format cannot hold. Raises "Unable to write to <file
    // name>" when the file cannot be written.
    void writeString(const QString& section, const QString& key, const QString& value);
    // Writes the value as plain decimal, with "-" when negative.
    void writeInteger(const QString& section, const QString& key, int value);

    // Ends the pass: commits its writes as one atomic replace (nothing happens after a pass that
    // only read). Raises "Unable to write to <file name>" when the commit fails; the file is then
    // left as it was before the pass. The object can be used again for a new pass.
    void release();

  private:
    enum class Encoding { Windows1252, Utf16LE };
    struct Line {
        QString text;    // without its line ending
        QString ending;  // CRLF, LF or CR, empty on a last line without one
    };
    struct Position {
        qsizetype section = -1;  // the header of the first matching section, -1 when none
        qsizetype key = -1;      // the line of the key, -1 when none
        qsizetype insertAt = 0;  // where a missing key goes in the matching section
    };

    void load();
    Position locate(QStringView section, QStringView key) const;
    void checkWritable() const;
    void checkNames(const QString& section, const QString& key, const QString& value) const;
    QByteArray content() const;
    QByteArray encode(QStringView text) const;
    void commit(const QByteArray& bytes) const;
    void reset();
    [[noreturn]] void failWrite() const;

    QString fileName_;
    bool loaded_ = false;
    bool unreadable_ = false;  // the file exists but could not be read: never overwrite it
    bool changed_ = false;
    QByteArray original_;
    Encoding encoding_ = Encoding::Windows1252;
    QByteArray trailingByte_;  // a UTF-16 file's odd last byte, kept as it was
    std::vector<Line> lines_;
    QString newline_;
    std::unique_ptr<FolderLock> lock_;
    int uncaughtAtStart_ = 0;
};

// The integer rule of the profile files: leading blanks, an optional "+" or "-", then decimal
// digits, or hexadecimal digits after "$" or "0x" ("0X"); nothing may follow. Decimal must fit a
// signed 32-bit integer; hexadecimal must fit 32 bits and is taken as their signed reading
// ("$FFFFFFFF" is -1). Anything else, the empty text included, gives no value. Never overflows,
// whatever the length of the text.
std::optional<qint32> parseProfileInteger(QStringView text);

// The steps of a commit after which a process can die with the file in a state of its own: the
// temporary file made, half of the new text written, all of it, flushed to the disk, named, put
// in place of the file, the folder flushed. Tests install a hook to stop a process at each of
// them in turn; with a hook installed the text is written in two halves, so that a death between
// them leaves a part-written temporary file. Null (the default) in the game.
using CommitStepHook = void (*)(const char* step);
void setCommitStepHook(CommitStepHook hook);

}  // namespace vorn
