#pragma once
// The game's INI files ("save/highscores.ini", "save/Sauvegardes.ini"): a reader and writer with
// the rules of the classic profile-file functions, on Windows-1252 text.
//
// File format, as read:
// - Lines end with LF or CRLF, read alike; a CR that ends the file ends its last line. A line
//   "[name]" opens a section; a line "key=value" sets a key of the section above it; lines
//   starting with ";" and all other lines are ignored.
//   Blanks (spaces, tabs) around section names, keys and values are dropped, then one pair of
//   the same quotes (" or ') enclosing a value.
// - Section and key names match without regard to letter case; the first match in the file counts.
// - A value comes back with at most kValueLimit characters; a longer one is cut.
//
// A pass: open an IniFile on a file name, read and write, then release(). Reads see the writes of
// the same pass. Nothing is kept from one pass to the next.
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

#include <optional>
#include <vector>

namespace vorn {

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
    // quotes) is written in double quotes. Characters Windows-1252 cannot hold are written as
    // "?". Raises "Unable to write to <file name>" when the file cannot be written, and refuses
    // (with an error naming the key) values holding line breaks or other control characters, and
    // names the format cannot hold.
    void writeString(const QString& section, const QString& key, const QString& value);
    // Writes the value as plain decimal, with "-" when negative.
    void writeInteger(const QString& section, const QString& key, int value);

    // Ends the pass: commits its writes as one atomic replace (nothing happens after a pass that
    // only read). Raises "Unable to write to <file name>" when the commit fails; the file is then
    // left as it was before the pass. The object can be used again for a new pass.
    void release();

private:
    struct Line {
        QByteArray text;    // without its line ending
        QByteArray ending;  // "\r\n", "\n", or empty on a last line without one
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
    void commit(const QByteArray& bytes) const;
    void reset();
    [[noreturn]] void failWrite() const;

    QString fileName_;
    bool loaded_ = false;
    bool unreadable_ = false;  // the file exists but could not be read: never overwrite it
    bool changed_ = false;
    QByteArray original_;
    std::vector<Line> lines_;
    QByteArray newline_;
    int uncaughtAtStart_ = 0;
};

// The integer rule of the profile files: leading blanks, an optional "+" or "-", then decimal
// digits, or hexadecimal digits after "$" or "0x" ("0X"); nothing may follow. Decimal must fit a
// signed 32-bit integer; hexadecimal must fit 32 bits and is taken as their signed reading
// ("$FFFFFFFF" is -1). Anything else, the empty text included, gives no value. Never overflows, whatever the
// length of the text.
std::optional<qint32> parseProfileInteger(QStringView text);

// The steps of a commit after which a process can die with the file in a state of its own: the
// temporary file made, half of the new text written, all of it, flushed to the disk, named, put
// in place of the file, the folder flushed. Tests install a hook to stop a process at each of
// them in turn; with a hook installed the text is written in two halves, so that a death between
// them leaves a part-written temporary file. Null (the default) in the game.
using CommitStepHook = void (*)(const char* step);
void setCommitStepHook(CommitStepHook hook);

}  // namespace vorn
