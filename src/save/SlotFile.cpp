#include "save/SlotFile.h"

#include "base/BoundedString.h"
#include "base/Log.h"
#include "base/ReplacingFile.h"
#include "platform/Files.h"
#include "platform/GameFolders.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

enum class FileRead { missing, tooLarge, failed, read };

// Reads a whole file of at most slotMaxBytes.
FileRead readFile(const char* path, std::vector<unsigned char>& bytes)
{
    std::FILE* in = std::fopen(path, "rb");
    if (!in)
        return FileRead::missing;
    FileRead result = FileRead::failed;
    long size = std::fseek(in, 0, SEEK_END) == 0 ? std::ftell(in) : -1;
    if (size > (long)slotMaxBytes)
        result = FileRead::tooLarge;
    else if (size >= 0 && std::fseek(in, 0, SEEK_SET) == 0) {
        bytes.resize((std::size_t)size);
        // Exactly `size` bytes, and nothing after them.
        if (std::fread(bytes.data(), 1, bytes.size(), in) == bytes.size() && std::fgetc(in) == EOF && !std::ferror(in))
            result = FileRead::read;
    }
    std::fclose(in);
    return result;
}

void report(const char* message, const char* path)
{
    logPrint(message);
    logPrint(path);
    logPrint("\n");
}

// Why the system refused a write, in the player's words.
std::string reasonOf(int error)
{
    if (error == ENOSPC || error == EDQUOT)
        return "the disk is full";
    if (error == 0)
        return "the file could not be written";
    std::string reason = std::strerror(error);
    reason[0] = char(std::tolower((unsigned char)reason[0]));
    return reason;
}

int refuseWrite(const char* message, const char* path, const std::string& reason, std::string* failure)
{
    report(message, path);
    if (failure)
        *failure = reason;
    return 0;
}

// Replaces the file at `path` with what `write` writes into it, through a
// temporary file that reaches the disk before it is renamed over the old one.
template <class Write> int replaceFileWith(const char* path, Write write, std::string* failure = nullptr)
{
    ReplacingFile file(path, "wb");
    if (!file.out)
        return refuseWrite("Cannot open for writing :\n", path, reasonOf(file.error), failure);
    errno = 0;
    bool written = write(file.out) && flushToDisk(file.out);
    int error = errno;
    if (!file.commit(written))
        return refuseWrite("Cannot write :\n", path, reasonOf(written ? file.error : error), failure);
    return 1;
}

int replaceFile(const char* path, const void* data, std::size_t size)
{
    return replaceFileWith(path, [&](std::FILE* out) { return std::fwrite(data, 1, size, out) == size; });
}

// Decodes a slot file where the system maps it, so that a slot of every room
// seen is neither zero-filled nor copied first; a file that cannot be mapped
// is read whole. Slots are replaced by renaming, never cut short in place,
// so a mapped slot keeps its bytes.
SlotStatus readSlotFile(const char* path, SAVE_STATE& state)
{
    std::FILE* in = std::fopen(path, "rb");
    if (!in)
        return SlotStatus::empty;
    long size = std::fseek(in, 0, SEEK_END) == 0 ? std::ftell(in) : -1;
    const unsigned char* mapped = size > 0 && size <= (long)slotMaxBytes ? mapFile(in, std::size_t(size)) : nullptr;
    std::fclose(in);
    bool good;
    if (mapped) {
        good = decodeSaveState(mapped, std::size_t(size), state);
        unmapFile(mapped, std::size_t(size));
    } else {
        std::vector<unsigned char> bytes;
        good = readFile(path, bytes) == FileRead::read && decodeSaveState(bytes.data(), bytes.size(), state);
    }
    if (good)
        return SlotStatus::good;
    report("Damaged save file :\n", path);
    return SlotStatus::damaged;
}

// The menu reads the slots every time it lists them; the player hears of a
// damaged one once.
void reportDamageOnce(const char* path, const char* outcome)
{
    static std::set<std::string> reported;
    if (reported.insert(path).second)
        reportProblem("%s is damaged; %s.\n", path, outcome);
}

bool backupName(const char* path, char* out, std::size_t size) { return boundedFormat(out, size, "%s.bak", path); }

// The slot file this program wrote last, as the file system showed it right
// after: the same file, unchanged since, is known to be good without reading
// it again. A slot grows to tens of megabytes (the memory of every room seen)
// and is written at every door.
struct WRITTEN_SLOT {
    std::string path;
    FILE_IDENTITY file;
};
WRITTEN_SLOT lastWritten;

void rememberWritten(const char* path)
{
    lastWritten.path.clear();
    if (fileIdentity(path, &lastWritten.file))
        lastWritten.path = path;
}

bool isGoodSlot(const char* path)
{
    FILE_IDENTITY now;
    if (lastWritten.path == path && fileIdentity(path, &now) && now == lastWritten.file)
        return true;
    SAVE_STATE scratch;
    return readSlotFile(path, scratch) == SlotStatus::good;
}

// Keeps the slot at `path` as its ".bak" when it is good, so that a damaged
// slot never replaces a good copy. A second name for the same file costs no
// copy; where the file system has no links, the bytes are copied.
void keepBackup(const char* path)
{
    char backup[512];
    char linked[512];
    if (!backupName(path, backup, sizeof backup) || !boundedFormat(linked, sizeof linked, "%s.tmp", backup) ||
        !isGoodSlot(path))
        return;
    std::remove(linked);
    bool kept = linkFile(path, linked) && std::rename(linked, backup) == 0;
    // Renaming over a second name of the same file (the backup made before
    // a write that failed) does nothing and leaves this name behind.
    std::remove(linked);
    if (kept)
        return;
    std::vector<unsigned char> bytes;
    if (readFile(path, bytes) == FileRead::read)
        replaceFile(backup, bytes.data(), bytes.size());
}

} // namespace

SlotStatus readSlot(const char* path, SAVE_STATE& state, SlotBackup backup)
{
    std::string where = playerFileToRead(path);
    path = where.c_str();
    SlotStatus status = readSlotFile(path, state);
    char copy[512];
    if (status == SlotStatus::damaged && backup == SlotBackup::use && backupName(path, copy, sizeof copy)
        && readSlotFile(copy, state) == SlotStatus::good) {
        reportDamageOnce(path, "the game goes on from its backup copy");
        return SlotStatus::good;
    }
    if (status == SlotStatus::damaged)
        reportDamageOnce(path, "the slot shows as damaged");
    if (status == SlotStatus::empty)
        report("Cannot open for reading :\n", path);
    return status;
}

int writeSlot(const char* path, const SAVE_STATE& state, const char* level, SlotBackup backup, std::string* failure)
{
    std::string where = playerFileToWrite(path);
    path = where.c_str();
    if (level && strnlen(level, saveStringSize) > (std::size_t)saveStringMax)
        return refuseWrite("Level name too long for a save file :\n", path, "the room's name is too long", failure);
    // What the reader would refuse is never written: the old slot stays the
    // one a continue finds, and the slot this program wrote is known to be good.
    if (encodedSize(state, level) > slotMaxBytes)
        return refuseWrite("Too large for a save file :\n", path, "the game has grown too large for a save file",
                           failure);
    if (!readableSaveState(state, level))
        return refuseWrite("Out of a save file's limits :\n", path, "the game holds values a save file cannot",
                           failure);
    if (backup == SlotBackup::use)
        keepBackup(path);
    if (!replaceFileWith(path, [&](std::FILE* out) { return writeSaveState(out, state, level); }, failure))
        return 0;
    rememberWritten(path);
    return 1;
}

int writeSlotText(const char* path, const SAVE_STATE& state, SaveText form)
{
    std::string where = playerFileToWrite(path);
    path = where.c_str();
    std::string text = formatSaveText(state, form);
    return replaceFile(path, text.data(), text.size());
}

int readSlotText(const char* path, SAVE_STATE& state, SaveText form)
{
    std::string where = playerFileToRead(path);
    path = where.c_str();
    std::vector<unsigned char> bytes;
    FileRead result = readFile(path, bytes);
    if (result == FileRead::missing) {
        report("Cannot open for reading :\n", path);
        return 0;
    }
    if (result != FileRead::read || !parseSaveText((const char*)bytes.data(), bytes.size(), state, form)) {
        report("Damaged save file :\n", path);
        return 0;
    }
    return 1;
}

SLOT_SUMMARY summarizeSlot(const char* path)
{
    SAVE_STATE state;
    SLOT_SUMMARY summary;
    summary.status = readSlot(path, state);
    if (summary.status == SlotStatus::good) {
        summary.life = state.player.life;
        summary.coin = state.player.coin;
        summary.diamond = state.player.diamond;
        summary.keys = keyCount(state);
        boundedCopy(summary.level, sizeof summary.level, state.level);
    }
    return summary;
}

void formatSlotSummary(const SLOT_SUMMARY& s, char* out, std::size_t size)
{
    if (s.status == SlotStatus::empty)
        boundedCopy(out, size, "empty");
    else if (s.status == SlotStatus::damaged)
        boundedCopy(out, size, "damaged");
    else if (s.coin < 100)
        boundedFormat(out, size, "  %02d   %02d   %02d   %02d", s.life, s.coin, s.diamond, s.keys);
    else
        boundedFormat(out, size, "  %02d   %03d  %02d   %02d", s.life, s.coin, s.diamond, s.keys);
}

std::string slotPath(int index)
{
    return "./Save/slot" + std::to_string(index) + ".sav";
}
