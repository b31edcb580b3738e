// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/ini.h"

#include "platform/errors.h"
#include "platform/windows1252.h"

#include <QFile>
#include <QRandomGenerator>
#include <QtDebug>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <exception>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vorn {

namespace {

// The blanks dropped around names and values, as the profile functions drop them (CR and LF
// end lines before it comes to that).
bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f';
}

bool endsLine(QChar c) {
    return c == u'\r' || c == u'\n';
}

QStringView trimmed(QStringView text) {
    qsizetype begin = 0, end = text.size();
    while (begin < end && isBlank(text[begin])) ++begin;
    while (end > begin && isBlank(text[end - 1])) --end;
    return text.sliced(begin, end - begin);
}

// A NUL ends a name or a value.
QStringView upToNul(QStringView text) {
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    return nul < 0 ? text : text.first(nul);
}

bool sameName(QStringView onDisk, QStringView wanted) {
    return upToNul(trimmed(onDisk)).compare(wanted, Qt::CaseInsensitive) == 0;
}

// What one line of the file is, read the way the profile functions read it.
struct Parsed {
    enum Kind { Other, Section, Key } kind = Other;
    QStringView name;   // section name or key, untrimmed
    QStringView value;  // after "=", untrimmed
};

Parsed parse(QStringView line) {
    const QStringView text = trimmed(line);
    if (text.startsWith(u'[')) {
        const qsizetype close = text.indexOf(u']');
        return {Parsed::Section, text.sliced(1, (close < 0 ? text.size() : close) - 1), {}};
    }
    if (text.startsWith(u';')) return {};
    const qsizetype equals = text.indexOf(u'=');
    if (equals < 0) return {};
    return {Parsed::Key, text.first(equals), text.sliced(equals + 1)};
}

bool isQuote(QChar c) {
    return c == u'"' || c == u'\'';
}

// A value enclosed in a pair of the same quotes reads without them, as the profile functions read
// it.
QStringView unquoted(QStringView value) {
    if (value.size() >= 2 && isQuote(value.front()) && value.back() == value.front())
        return value.sliced(1, value.size() - 2);
    return value;
}

// A value that would not read back as it is (blanks at its ends are dropped on reading, one pair
// of enclosing quotes too) is written in double quotes.
bool needsQuotes(const QString& value) {
    if (value.isEmpty()) return false;
    if (isBlank(value.front()) || isBlank(value.back())) return true;
    return value.size() >= 2 && isQuote(value.front()) && value.back() == value.front();
}

// What no line of the file can hold: it would end the line, or the value.
bool breaksLine(const QString& text) {
    for (QChar c : text) {
        if (endsLine(c) || c == u'\0') return true;
    }
    return false;
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

namespace {

// The folders this process holds locked, by real path: the descriptor holding the lock and how
// many FolderLock objects share it.
struct HeldFolder {
    int fd = -1;
    int holders = 0;
};
std::mutex heldFoldersMutex;
std::map<QByteArray, HeldFolder>& heldFolders() {
    static std::map<QByteArray, HeldFolder> folders;
    return folders;
}

}  // namespace

FolderLock::FolderLock(const QString& fileName) {
    const QByteArray folder = directoryOf(QFile::encodeName(fileName));
    char* real = ::realpath(folder.constData(), nullptr);
    if (!real) return;
    const QByteArray key(real);
    std::free(real);
    const std::lock_guard guard(heldFoldersMutex);
    if (auto it = heldFolders().find(key); it != heldFolders().end()) {
        ++it->second.holders;
        key_ = key;
        return;
    }
    const int fd = ::open(key.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::milliseconds(kPatienceMs);
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR) {
            ::close(fd);
            return;
        }
        if (std::chrono::steady_clock::now() >= giveUp) {
            qWarning("IniFile: %s stayed locked by another process; going on without the lock",
                     key.constData());
            ::close(fd);
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    heldFolders()[key] = HeldFolder{fd, 1};
    key_ = key;
}

FolderLock::~FolderLock() {
    if (key_.isEmpty()) return;
    const std::lock_guard guard(heldFoldersMutex);
    const auto it = heldFolders().find(key_);
    if (it == heldFolders().end() || --it->second.holders > 0) return;
    ::flock(it->second.fd, LOCK_UN);
    ::close(it->second.fd);
    heldFolders().erase(it);
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
    trailingByte_.clear();
    encoding_ = Encoding::Windows1252;
    lines_.clear();
    lock_.reset();
}

void IniFile::load() {
    if (loaded_) return;
    loaded_ = true;
    lock_ = std::make_unique<FolderLock>(fileName_);
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

    QString text;
    if (original_.startsWith("\xff\xfe")) {
        encoding_ = Encoding::Utf16LE;
        const qsizetype units = (original_.size() - 2) / 2;
        text.resize(units);
        for (qsizetype i = 0; i < units; ++i) {
            const auto low = static_cast<unsigned char>(original_[2 + 2 * i]);
            const auto high = static_cast<unsigned char>(original_[3 + 2 * i]);
            text[i] = QChar(static_cast<char16_t>(low | high << 8));
        }
        if (original_.size() % 2 != 0) trailingByte_ = original_.right(1);
    } else {
        text = fromWindows1252(original_);
    }

    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = start;
        while (end < text.size() && !endsLine(text[end])) ++end;
        // CRLF, LF or a lone CR: the empty lines a longer run makes read as nothing.
        qsizetype next = end;
        if (next < text.size())
            next +=
                text[next] == u'\r' && next + 1 < text.size() && text[next + 1] == u'\n' ? 2 : 1;
        lines_.push_back({text.sliced(start, end - start), text.sliced(end, next - end)});
        start = next;
    }
    // Added lines end the way the file's first line ends when that is one of the usual endings;
    // otherwise (and in a new file) with the profile files' CRLF.
    newline_ = QStringLiteral("\r\n");
    if (!lines_.empty()) {
        const QString& first = lines_.front().ending;
        if (first == u"\n" || first == u"\r") newline_ = first;
    }
}

IniFile::Position IniFile::locate(QStringView section, QStringView key) const {
    Position at;
    for (qsizetype i = 0; i < static_cast<qsizetype>(lines_.size()); ++i) {
        const Parsed p = parse(lines_[i].text);
        if (p.kind == Parsed::Section) {
            // Only the first section of the name counts; a later one ends it.
            if (at.section >= 0) return at;
            if (sameName(p.name, section)) {
                at.section = i;
                at.insertAt = i + 1;
            }
        } else if (p.kind == Parsed::Key && at.section >= 0) {
            if (sameName(p.name, key)) {
                at.key = i;
                return at;
            }
            // After the section's last key: blank lines and comments that lead to the next
            // section stay where they are.
            at.insertAt = i + 1;
        }
    }
    return at;
}

QString IniFile::readString(const QString& section, const QString& key,
                            const QString& defaultValue) {
    load();
    const Position at = locate(section, key);
    if (at.key < 0) return defaultValue;
    const QStringView value = unquoted(upToNul(trimmed(parse(lines_[at.key].text).value)));
    return value.first(std::min(value.size(), kValueLimit)).toString();
}

int IniFile::readInteger(const QString& section, const QString& key, int defaultValue) {
    return parseProfileInteger(readString(section, key, QString())).value_or(defaultValue);
}

void IniFile::checkNames(const QString& section, const QString& key, const QString& value) const {
    const auto badName = [](const QString& name, QChar forbidden) {
        return name.isEmpty() || trimmed(name) != name || hasControl(name) ||
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
    if (breaksLine(value)) {
        throw Error(QStringLiteral("Unable to write to %1: the value of \"%2\" in section \"%3\" "
                                   "holds a line break or a NUL character")
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

    // What the file holds of the text: a Windows-1252 file its storable form, a UTF-16 one all.
    const auto held = [this](const QString& text) {
        return encoding_ == Encoding::Utf16LE ? text : storableText(text);
    };
    const QString stored = held(value);
    const QString written = needsQuotes(stored) ? u'"' + stored + u'"' : stored;
    const Position at = locate(section, key);
    if (at.key >= 0) {
        Line& line = lines_[at.key];
        line.text = line.text.first(line.text.indexOf(u'=') + 1) + written;
    } else {
        std::vector<Line> added;
        if (at.section < 0) added.push_back({u'[' + held(section) + u']', newline_});
        added.push_back({held(key) + u'=' + written, newline_});
        const qsizetype where =
            at.section < 0 ? static_cast<qsizetype>(lines_.size()) : at.insertAt;
        // A last line without its line ending gets one before anything follows it, and one cut
        // between the CR and the LF of the file's CRLF gets its LF.
        if (where == static_cast<qsizetype>(lines_.size()) && !lines_.empty()) {
            QString& ending = lines_.back().ending;
            if (ending.isEmpty() || (ending != newline_ && newline_.startsWith(ending)))
                ending = newline_;
        }
        lines_.insert(lines_.begin() + where, added.begin(), added.end());
    }
    changed_ = true;
}

void IniFile::writeInteger(const QString& section, const QString& key, int value) {
    writeString(section, key, QString::number(value));
}

QByteArray IniFile::encode(QStringView text) const {
    if (encoding_ == Encoding::Windows1252) return toWindows1252(text);
    QByteArray bytes;
    bytes.reserve(text.size() * 2);
    for (const QChar c : text) {
        bytes.append(static_cast<char>(c.unicode() & 0xFF));
        bytes.append(static_cast<char>(c.unicode() >> 8));
    }
    return bytes;
}

QByteArray IniFile::content() const {
    QByteArray bytes =
        encoding_ == Encoding::Utf16LE ? QByteArrayLiteral("\xff\xfe") : QByteArray();
    for (const Line& line : lines_) bytes += encode(line.text) + encode(line.ending);
    return bytes + trailingByte_;
}

void IniFile::release() {
    const bool write = changed_;
    const QByteArray bytes = write ? content() : QByteArray();
    const bool same = bytes == original_;
    // The lock is held until the new text is in place.
    const std::unique_ptr<FolderLock> lock = std::move(lock_);
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
