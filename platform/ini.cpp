#include "platform/ini.h"

#include "platform/errors.h"
#include "platform/windows1252.h"

#include <QFile>
#include <QRandomGenerator>
#include <QtDebug>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <exception>
#include <functional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vorn {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

QByteArrayView trimmed(QByteArrayView bytes) {
    qsizetype begin = 0, end = bytes.size();
    while (begin < end && isBlank(bytes[begin])) ++begin;
    while (end > begin && isBlank(bytes[end - 1])) --end;
    return bytes.sliced(begin, end - begin);
}

bool sameName(QByteArrayView onDisk, QStringView wanted) {
    return fromWindows1252(trimmed(onDisk)).compare(wanted, Qt::CaseInsensitive) == 0;
}

// What one line of the file is, read the way the profile functions read it.
struct Parsed {
    enum Kind { Other, Section, Key } kind = Other;
    QByteArrayView name;   // section name or key, untrimmed
    QByteArrayView value;  // after "=", untrimmed
};

Parsed parse(const QByteArray& line) {
    const QByteArrayView text = trimmed(line);
    if (text.startsWith('[')) {
        const qsizetype close = text.indexOf(']');
        return {Parsed::Section, text.sliced(1, (close < 0 ? text.size() : close) - 1), {}};
    }
    if (text.startsWith(';')) return {};
    const qsizetype equals = text.indexOf('=');
    if (equals < 0) return {};
    return {Parsed::Key, text.first(equals), text.sliced(equals + 1)};
}

bool isQuote(char16_t c) {
    return c == u'"' || c == u'\'';
}

// A value enclosed in a pair of the same quotes reads without them, as the profile functions read
// it.
QByteArrayView unquoted(QByteArrayView value) {
    if (value.size() >= 2 && isQuote(static_cast<unsigned char>(value.front())) &&
        value.back() == value.front())
        return value.sliced(1, value.size() - 2);
    return value;
}

// A value that would not read back as it is (blanks at its ends are dropped on reading, one pair
// of enclosing quotes too) is written in double quotes.
bool needsQuotes(const QString& value) {
    if (value.isEmpty()) return false;
    if (value.front() == u' ' || value.back() == u' ') return true;
    return value.size() >= 2 && isQuote(value.front().unicode()) && value.back() == value.front();
}

bool hasControl(const QString& text) {
    for (QChar c : text) {
        if (c.category() == QChar::Other_Control) return true;
    }
    return false;
}

QByteArray directoryOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0) return QByteArrayLiteral(".");
    if (slash == 0) return QByteArrayLiteral("/");
    return path.first(slash);
}

std::atomic<CommitStepHook> commitStepHook{nullptr};

void step(const char* name) {
    if (const CommitStepHook hook = commitStepHook.load()) hook(name);
}

bool writeAll(int fd, QByteArrayView bytes) {
    const char* data = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(left));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        left -= n;
    }
    return true;
}

// The whole text, or under a commit-step hook its two halves with a step between them.
bool writeText(int fd, const QByteArray& bytes) {
    if (!commitStepHook.load()) return writeAll(fd, bytes);
    const qsizetype half = bytes.size() / 2;
    if (!writeAll(fd, QByteArrayView(bytes).first(half))) return false;
    step("half written");
    return writeAll(fd, QByteArrayView(bytes).sliced(half));
}

int digitValue(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return 99;
}

}  // namespace

std::optional<qint32> parseProfileInteger(QStringView text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text[i] == u' ' || text[i] == u'\t')) ++i;
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
    int base = 10;
    if (i < n && text[i] == u'$') {
        base = 16;
        i += 1;
    } else if (i + 1 < n && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    if (i == n) return std::nullopt;
    // The limit keeps the running value far below 64 bits, however many digits follow.
    const quint64 limit = base == 16 ? 0xFFFFFFFFull
                          : negative ? quint64{1} << 31
                                     : (quint64{1} << 31) - 1;
    quint64 magnitude = 0;
    for (; i < n; ++i) {
        const int digit = digitValue(text[i].unicode());
        if (digit >= base) return std::nullopt;
        magnitude = magnitude * static_cast<quint64>(base) + static_cast<quint64>(digit);
        if (magnitude > limit) return std::nullopt;
    }
    if (base == 16) {
        const auto bits = static_cast<quint32>(magnitude);
        return static_cast<qint32>(negative ? 0u - bits : bits);
    }
    const auto value = static_cast<qint64>(magnitude);
    return static_cast<qint32>(negative ? -value : value);
}

IniFile::IniFile(QString fileName)
    : fileName_(std::move(fileName)), uncaughtAtStart_(std::uncaught_exceptions()) {}

IniFile::~IniFile() {
    if (changed_ && std::uncaught_exceptions() == uncaughtAtStart_) {
        qWarning("IniFile: writes to %s dropped, the pass was never released",
                 qPrintable(fileName_));
    }
}

void IniFile::reset() {
    loaded_ = false;
    unreadable_ = false;
    changed_ = false;
    original_.clear();
    lines_.clear();
}

void IniFile::load() {
    if (loaded_) return;
    loaded_ = true;
    const QByteArray path = QFile::encodeName(fileName_);
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        // A missing file reads as empty; one that is there but cannot be read must never be
        // replaced by what this pass knows of it.
        unreadable_ = errno != ENOENT && errno != ENOTDIR;
    } else {
        struct stat st {};
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) unreadable_ = true;
        char buffer[65536];
        while (!unreadable_) {
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) unreadable_ = true;
            if (got <= 0) break;
            original_.append(buffer, got);
        }
        ::close(fd);
    }
    if (unreadable_) original_.clear();

    qsizetype start = 0;
    while (start < original_.size()) {
        const qsizetype lf = original_.indexOf('\n', start);
        const qsizetype end = lf < 0 ? original_.size() : lf;
        // A last line cut between the CR and the LF of its ending reads as if it had both:
        // otherwise the LF that a write adds after it would take the CR out of its value.
        const bool cr = end > start && original_[end - 1] == '\r';
        Line line;
        line.text = original_.sliced(start, end - start - (cr ? 1 : 0));
        line.ending = lf < 0 ? (cr ? QByteArrayLiteral("\r") : QByteArray())
                      : cr   ? QByteArrayLiteral("\r\n")
                             : QByteArrayLiteral("\n");
        lines_.push_back(std::move(line));
        start = lf < 0 ? original_.size() : lf + 1;
    }
    // Added lines end the way the file's lines end; a new file gets the profile files' CRLF.
    newline_ = !lines_.empty() && lines_.front().ending == "\n" ? QByteArrayLiteral("\n")
                                                                : QByteArrayLiteral("\r\n");
}

IniFile::Position IniFile::locate(QStringView section, QStringView key) const {
    Position at;
    bool inside = false;  // in a section of that name
    bool first = false;   // in the first section of that name, where a missing key goes
    for (qsizetype i = 0; i < static_cast<qsizetype>(lines_.size()); ++i) {
        const Parsed p = parse(lines_[i].text);
        if (p.kind == Parsed::Section) {
            inside = sameName(p.name, section);
            first = inside && at.section < 0;
            if (first) {
                at.section = i;
                at.insertAt = i + 1;
            }
        } else if (p.kind == Parsed::Key && inside) {
            if (sameName(p.name, key)) {
                at.key = i;
                return at;
            }
            // After the section's last key: blank lines and comments that lead to the next
            // section stay where they are.
            if (first) at.insertAt = i + 1;
        }
    }
    return at;
}

QString IniFile::readString(const QString& section, const QString& key,
                            const QString& defaultValue) {
    load();
    const Position at = locate(section, key);
    if (at.key < 0) return defaultValue;
    const QByteArrayView value = unquoted(trimmed(parse(lines_[at.key].text).value));
    return fromWindows1252(value.first(std::min(value.size(), kValueLimit)));
}

int IniFile::readInteger(const QString& section, const QString& key, int defaultValue) {
    return parseProfileInteger(readString(section, key, QString())).value_or(defaultValue);
}

void IniFile::checkNames(const QString& section, const QString& key, const QString& value) const {
    const auto badName = [](const QString& name, QChar forbidden) {
        return name.isEmpty() || name.trimmed() != name || hasControl(name) ||
               name.contains(forbidden);
    };
    if (badName(section, u']')) {
        throw Error(QStringLiteral("Unable to write to %1: \"%2\" cannot be a section name")
                        .arg(fileName_, section));
    }
    if (badName(key, u'=') || key.startsWith(u'[') || key.startsWith(u';')) {
        throw Error(QStringLiteral("Unable to write to %1: \"%2\" cannot be a key name")
                        .arg(fileName_, key));
    }
    if (hasControl(value)) {
        throw Error(QStringLiteral("Unable to write to %1: the value of \"%2\" in section \"%3\" "
                                   "holds a line break or another control character")
                        .arg(fileName_, key, section));
    }
}

void IniFile::failWrite() const {
    throw Error(QStringLiteral("Unable to write to %1").arg(fileName_));
}

void IniFile::checkWritable() const {
    const QByteArray path = QFile::encodeName(fileName_);
    const QByteArray directory = directoryOf(path);
    struct stat st {};
    if (::stat(directory.constData(), &st) != 0 || !S_ISDIR(st.st_mode) ||
        ::access(directory.constData(), W_OK | X_OK) != 0) {
        failWrite();
    }
    if (::stat(path.constData(), &st) == 0) {
        if (!S_ISREG(st.st_mode) || ::access(path.constData(), W_OK) != 0) failWrite();
    } else if (errno != ENOENT) {
        failWrite();
    }
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value) {
    checkNames(section, key, value);
    checkWritable();
    load();
    if (unreadable_) failWrite();

    const QByteArray bytes = toWindows1252(needsQuotes(value) ? u'"' + value + u'"' : value);
    const Position at = locate(section, key);
    if (at.key >= 0) {
        Line& line = lines_[at.key];
        line.text = line.text.first(line.text.indexOf('=') + 1) + bytes;
    } else {
        std::vector<Line> added;
        if (at.section < 0) added.push_back({'[' + toWindows1252(section) + ']', newline_});
        added.push_back({toWindows1252(key) + '=' + bytes, newline_});
        const qsizetype where =
            at.section < 0 ? static_cast<qsizetype>(lines_.size()) : at.insertAt;
        // A last line without its line ending, or with half of it, gets a whole one before
        // anything follows it.
        if (where == static_cast<qsizetype>(lines_.size()) && !lines_.empty()) {
            QByteArray& ending = lines_.back().ending;
            if (ending.isEmpty()) ending = newline_;
            else if (ending == "\r") ending = QByteArrayLiteral("\r\n");
        }
        lines_.insert(lines_.begin() + where, added.begin(), added.end());
    }
    changed_ = true;
}

void IniFile::writeInteger(const QString& section, const QString& key, int value) {
    writeString(section, key, QString::number(value));
}

QByteArray IniFile::content() const {
    QByteArray bytes;
    for (const Line& line : lines_) bytes += line.text + line.ending;
    return bytes;
}

void IniFile::release() {
    const bool write = changed_;
    const QByteArray bytes = write ? content() : QByteArray();
    const bool same = bytes == original_;
    reset();
    if (write && !same) commit(bytes);
}

void IniFile::commit(const QByteArray& bytes) const {
    QByteArray target = QFile::encodeName(fileName_);
    // A link is followed, so that the file it names is the one replaced.
    struct stat st {};
    const bool exists = ::stat(target.constData(), &st) == 0;
    if (exists) {
        if (char* real = ::realpath(target.constData(), nullptr)) {
            target = real;
            std::free(real);
        }
    }
    const QByteArray directory = directoryOf(target);
    const QByteArray base = target.sliced(target.lastIndexOf('/') + 1);

    // The new text goes to a file that has no name until it is on the disk, so that a process
    // killed while writing leaves nothing behind; where the system cannot make such files or
    // name them afterwards, it goes to a hidden temporary file.
    QByteArray temporary;
    const auto tryName = [&](const std::function<int()>& create) {
        for (int attempt = 0; attempt < 100; ++attempt) {
            temporary = directory + "/." + base + '.' +
                        QByteArray::number(QRandomGenerator::system()->generate(), 16) + ".tmp";
            const int result = create();
            if (result >= 0 || errno != EEXIST) return result;
        }
        return -1;
    };
    const auto fill = [&](int fd) {
        step("temporary made");
        if (exists) ::fchmod(fd, st.st_mode & 07777);
        if (!writeText(fd, bytes)) return false;
        step("written");
        if (::fsync(fd) != 0) return false;
        step("flushed");
        return true;
    };
    bool staged = false;  // the new text is on the disk under the name `temporary`
    const int unnamed = ::open(directory.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (unnamed >= 0) {
        const bool written = fill(unnamed);
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(unnamed);
        staged = written && tryName([&] {
                                return ::linkat(AT_FDCWD, self.constData(), AT_FDCWD,
                                                temporary.constData(), AT_SYMLINK_FOLLOW);
                            }) == 0;
        ::close(unnamed);
        if (!written) failWrite();
        if (staged) step("named");
    }
    if (!staged) {
        const int fd = tryName([&] {
            return ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        });
        if (fd < 0) failWrite();
        const bool written = fill(fd);
        if (::close(fd) != 0 || !written) {
            ::unlink(temporary.constData());
            failWrite();
        }
    }
    if (::rename(temporary.constData(), target.constData()) != 0) {
        ::unlink(temporary.constData());
        failWrite();
    }
    step("renamed");
    // The rename itself lasts only once the folder is on the disk.
    const int dirFd = ::open(directory.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0) failWrite();
    const bool synced = ::fsync(dirFd) == 0 || errno == EINVAL;
    ::close(dirFd);
    if (!synced) failWrite();
    step("folder flushed");
}

void setCommitStepHook(CommitStepHook hook) {
    commitStepHook.store(hook);
}

}  // namespace vorn
