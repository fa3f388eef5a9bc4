#include <zip.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <thread>
#include <unordered_set>
#include <vector>

#include "core/change_journal.h"
#include "core/codepage.h"
#include "core/context.h"
#include "core/dialogs.h"
#include "core/errors.h"
#include "core/fs.h"
#include "core/text.h"
#include "install/archive_members.h"
#include "install/archive_source.h"
#include "install/extract.h"
#include "install/inflate_ahead.h"
#include "install/member_layout.h"
#include "install/member_names.h"
#include "install/member_writer.h"
#include "install/temp_zip.h"

namespace install {

namespace {

// Members are streamed through one buffer of this size, so memory stays
// small whatever the size of a member.
constexpr std::size_t kChunk = 256 * 1024;
// While a member is written, free space is looked at again after this many
// bytes: a member's stored size is the archive's word, not a promise.
constexpr std::uint64_t kRecheckEvery = 16u << 20;
// Between two looks at the free space, members may take this much of the
// disk, each counted at whole blocks of this size (a file of 1 byte takes
// a block).
constexpr std::uint64_t kLookEvery = 4u << 20;
constexpr std::uint64_t kBlock = 4096;
// Members are unpacked whole, on every core, ahead of the one being written,
// as long as the members in flight hold no more than this, packed and
// unpacked; a larger member is streamed.
constexpr std::uint64_t kAheadBound = 24u << 20;
// At most this many members are in flight.
constexpr zip_uint64_t kAheadMembers = 512;
// A member no larger than this, packed and unpacked, is unpacked whole when
// its turn comes, on the writing thread: handing it to a worker and back
// costs more than unpacking it.
constexpr std::uint64_t kUnpackInPlace = 16u << 10;

const char* const kPasswordPrompt = "Please Enter The Password!";

struct ArchiveCloser {
  void operator()(zip_t* za) const { zip_discard(za); }
};
struct MemberCloser {
  void operator()(zip_file_t* zf) const { zip_fclose(zf); }
};
using ArchivePtr = std::unique_ptr<zip_t, ArchiveCloser>;
using MemberPtr = std::unique_ptr<zip_file_t, MemberCloser>;

// Errors that say the library cannot work at all, as opposed to a damaged
// or missing archive.
bool libraryUnusable(int zipError) {
  return zipError == ZIP_ER_MEMORY || zipError == ZIP_ER_INTERNAL;
}

// The library's words for an error, in lower case: "crc error".
std::string errorWords(zip_error_t* error) {
  return core::lower(zip_error_strerror(error));
}

// Why a file does not open as a ZIP archive, in words.
std::string unreadableCause(int zipError) {
  if (zipError == ZIP_ER_NOZIP)
    return "it is not a ZIP archive, or it is damaged or cut short: it does not end with a ZIP archive's table of "
           "contents";
  if (zipError == ZIP_ER_INCONS) return "it is damaged: its table of contents does not agree with its files";
  zip_error_t error;
  zip_error_init_with_code(&error, zipError);
  std::string words = errorWords(&error);
  zip_error_fini(&error);
  return "it cannot be read as a ZIP archive (" + words + ")";
}

class Extraction {
 public:
  Extraction(core::Context& ctx, zip_t* archive, ExtractBudget& budget, ArchiveMembers& members,
             std::string memberFolder)
      : ctx_(ctx),
        archive_(archive),
        budget_(budget),
        members_(members),
        memberFolder_(std::move(memberFolder)),
        folder_(TempZipFolder(ctx)) {}
  // What was queued is written and kept when extraction ends by an
  // exception, as it would have been before the exception came.
  ~Extraction() {
    try {
      (void)settle();
    } catch (...) {  // NOLINT(bugprone-empty-catch): the exception in flight says what went wrong
    }
  }
  Extraction(const Extraction&) = delete;
  Extraction& operator=(const Extraction&) = delete;

  UnzipResult run() {
    const zip_int64_t count = zip_get_num_entries(archive_, 0);
    if (count > 0 && static_cast<std::uint64_t>(count) > budget_.limits.maxMembers)
      return {UnzipStatus::TooManyMembers, {}};
    for (zip_int64_t i = 0; i < count; ++i) {
      handOver(static_cast<zip_uint64_t>(i), static_cast<zip_uint64_t>(count));
      const UnzipStatus status = extractMember(static_cast<zip_uint64_t>(i));
      if (status == UnzipStatus::Done) continue;
      // A member queued before this one may have met a full disk, which
      // stopped the extraction there.
      if (!settle()) return {UnzipStatus::OutOfSpace, {}};
      return {status, cause_};
    }
    if (!settle()) return {UnzipStatus::OutOfSpace, {}};
    return {};
  }

 private:
  // Hands the members from `from` on that can be unpacked whole (plain,
  // deflated or stored, small enough) to the workers, as far as the bound
  // allows. What the workers do is only used when extraction comes to the
  // member, so that everything else happens in archive order as before.
  void handOver(zip_uint64_t from, zip_uint64_t count) {
    next_ = std::max(next_, from);
    for (; next_ < count && next_ - from < kAheadMembers; ++next_) {
      const zip_stat_t* looked = statOf(next_);
      if (!looked) continue;
      const zip_stat_t& st = *looked;
      if (!unpacksWhole(st) || inPlace(st)) continue;
      // A member larger than a third of the bound is streamed when its turn
      // comes; the others wait for room.
      if (st.comp_size > kAheadBound / 3 || st.size > kAheadBound / 3 - st.comp_size) continue;
      if (!ahead_.fits(st.comp_size, st.size)) return;
      if (auto member = packed(next_, st)) ahead_.submit(next_, std::move(*member));
    }
  }

  // Whether libdeflate can unpack the member whole: plain, deflated or
  // stored, and not empty.
  static bool unpacksWhole(const zip_stat_t& st) {
    constexpr auto kNeeded =
        ZIP_STAT_SIZE | ZIP_STAT_COMP_SIZE | ZIP_STAT_CRC | ZIP_STAT_COMP_METHOD | ZIP_STAT_ENCRYPTION_METHOD;
    return (st.valid & kNeeded) == kNeeded && st.encryption_method == ZIP_EM_NONE && st.size != 0 &&
           (st.comp_method == ZIP_CM_STORE || st.comp_method == ZIP_CM_DEFLATE);
  }

  static bool inPlace(const zip_stat_t& st) { return st.size <= kUnpackInPlace && st.comp_size <= kUnpackInPlace; }

  // The member's bytes as the archive stores them; nullopt when they cannot
  // be read (the library says why when the member is streamed).
  std::optional<PackedMember> packed(zip_uint64_t index, const zip_stat_t& st) {
    MemberPtr raw(zip_fopen_index(archive_, index, ZIP_FL_COMPRESSED));
    if (!raw) return std::nullopt;
    PackedMember member{std::vector<char>(static_cast<std::size_t>(st.comp_size)), st.comp_method == ZIP_CM_DEFLATE,
                        st.size, st.crc};
    if (zip_fread(raw.get(), member.packed.data(), member.packed.size()) != static_cast<zip_int64_t>(st.comp_size))
      return std::nullopt;
    return member;
  }

  // Whether a member of this many bytes leaves the reserve free. The disk
  // is asked again once the members written since it was last asked may
  // have taken kLookEvery, or the room it then had above the reserve, each
  // counted at whole blocks; and when look is set.
  bool roomFor(std::uint64_t bytes, bool look = false) {
    const std::uint64_t blocks = (std::max<std::uint64_t>(bytes, 1) + kBlock - 1) / kBlock * kBlock;
    const std::uint64_t taken = sinceLook_ + blocks;
    if (!look && lastFree_ && taken >= sinceLook_ && taken <= kLookEvery && *lastFree_ >= taken &&
        *lastFree_ - taken >= budget_.limits.reserve) {
      sinceLook_ = taken;
      return true;
    }
    if (!settle()) return false;
    std::uint64_t free = 0;
    // A file system that cannot say how full it is is not held up; a real
    // shortage then shows as a failed write.
    if (!core::step([&] { free = ctx_.fs.freeSpace(folder_); })) return true;
    lastFree_ = free;
    sinceLook_ = blocks;
    return free >= bytes && free - bytes >= budget_.limits.reserve;
  }

  // Opens an encrypted member with the password of an earlier member of this
  // archive, or asks for one; Done when file is open.
  UnzipStatus openEncrypted(zip_uint64_t index, zip_uint16_t method, MemberPtr& file) {
    if (ctx_.state.skipPasswords) return UnzipStatus::PasswordSkipped;
    if (!zip_encryption_method_supported(method, 0)) {
      cause_ = current_ + " is encrypted in a way that cannot be read";
      return UnzipStatus::Damaged;
    }
    if (password_ && (file = openWith(index, *password_))) return UnzipStatus::Done;
    auto answer = ctx_.dialogs.inputBox(kPasswordPrompt, "", "");
    if (!answer || answer->empty()) {
      ctx_.state.skipPasswords = true;
      return UnzipStatus::NoPassword;
    }
    password_ = *answer;
    if ((file = openWith(index, *password_))) return UnzipStatus::Done;
    cause_ = current_;
    return UnzipStatus::WrongPassword;
  }

  // The answer as typed (UTF-8), then in the 8-bit code page that archives
  // made on Windows use for their passwords.
  MemberPtr openWith(zip_uint64_t index, const std::string& password) {
    if (auto zf = MemberPtr(zip_fopen_index_encrypted(archive_, index, 0, password.c_str()))) return zf;
    const std::string eightBit = core::utf8ToCp1252(password);
    if (eightBit == password) return nullptr;
    return MemberPtr(zip_fopen_index_encrypted(archive_, index, 0, eightBit.c_str()));
  }

  // What the library says of member number index; nullptr when it cannot
  // say. Each member is asked about once, when it is first looked at for
  // handing over, and the answer kept until it is extracted, rather than
  // once more when it is written.
  const zip_stat_t* statOf(zip_uint64_t index) {
    Looked& looked = looked_[index % kAheadMembers];
    if (looked.index != index) {
      looked.index = index;
      zip_stat_init(&looked.st);
      looked.known = zip_stat_index(archive_, index, 0, &looked.st) == 0;
    }
    return looked.known ? &looked.st : nullptr;
  }

  UnzipStatus extractMember(zip_uint64_t index) {
    const zip_stat_t* looked = statOf(index);
    if (!looked) return UnzipStatus::Done;
    const zip_stat_t st = *looked;
    const char* stored = zip_get_name(archive_, index, ZIP_FL_ENC_GUESS);
    if (!stored) return UnzipStatus::Done;
    const auto name = FlatMemberName(stored);
    if (!name) return UnzipStatus::Done;
    const std::string inFolder = MemberFolder(stored);
    std::string inTempZip = members_.storedNameFor(*name);
    std::string key = core::lower(inTempZip);
    // A name is taken by a member still queued only once the writer has
    // written it, which is waited for to know.
    if (queued_.count(key)) {
      if (!settle()) return UnzipStatus::OutOfSpace;
      inTempZip = members_.storedNameFor(*name);
      key = core::lower(inTempZip);
    }
    ArchiveMember member{memberFolder_.empty() ? inFolder
                         : inFolder.empty()    ? memberFolder_
                                               : memberFolder_ + "\\" + inFolder,
                         *name, std::move(inTempZip)};

    const std::uint64_t size = (st.valid & ZIP_STAT_SIZE) ? st.size : 0;
    if (!roomFor(size)) return UnzipStatus::OutOfSpace;

    current_ = member.path();
    encrypted_ = (st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE;
    // One that does not unpack whole to its declared size and check sum is
    // read again below, which says what is wrong with it.
    if (!encrypted_ && ahead_.holds(index)) {
      if (auto data = ahead_.take(index)) return place(member, std::move(*data), std::move(key));
    } else if (unpacksWhole(st) && inPlace(st)) {
      if (auto whole = packed(index, st))
        if (auto data = unpacker_.unpack(std::move(*whole))) return place(member, std::move(*data), std::move(key));
    }
    // The member is streamed here, with the file system and the journal.
    if (!settle()) return UnzipStatus::OutOfSpace;
    MemberPtr file;
    if (encrypted_) {
      const UnzipStatus opened = openEncrypted(index, st.encryption_method, file);
      if (opened != UnzipStatus::Done) return opened;
    } else {
      file = MemberPtr(zip_fopen_index(archive_, index, 0));
    }
    if (!file) {
      if (libraryUnusable(zip_error_code_zip(zip_get_error(archive_))))
        throw core::RuntimeError(core::err::LibraryNotLoaded, "The ZIP library cannot work");
      cause_ = current_ + " cannot be unpacked (" + errorWords(zip_get_error(archive_)) + ")";
      return UnzipStatus::Damaged;
    }
    bool committed = false;
    const UnzipStatus status =
        copyOut(file.get(), core::joinPath(folder_, member.stored),
                (st.valid & ZIP_STAT_SIZE) ? std::optional<std::uint64_t>(st.size) : std::nullopt, committed);
    if (committed) keep(member);
    return status;
  }

  // A member whose file is written: the journal is told, and its name taken.
  void keep(ArchiveMember& member) {
    if (ctx_.journal) ctx_.journal->memberStored(member.stored, member.path());
    members_.add(std::move(member));
  }

  // Streams the member into its file; the file appears (and committed is
  // set) only when the whole member was read, its check sum matched and its
  // data came to the size it declares, neither more nor less.
  UnzipStatus copyOut(zip_file_t* member, const std::string& target, std::optional<std::uint64_t> declared,
                      bool& committed) {
    if (budget_.membersLeft == 0) return UnzipStatus::TooManyMembers;
    --budget_.membersLeft;
    std::unique_ptr<core::FileWriter> out;
    try {
      out = ctx_.fs.createScratchFile(target);
      std::uint64_t written = 0;
      std::uint64_t sinceCheck = 0;
      for (;;) {
        // One byte past the declared size is asked for, never more: data
        // that goes on there is damaged, and data that ends there is read to
        // its end, where the library compares the check sum.
        std::size_t want = buffer_.size();
        if (declared) want = static_cast<std::size_t>(std::min<std::uint64_t>(want - 1, *declared - written) + 1);
        const zip_int64_t got = zip_fread(member, buffer_.data(), want);
        if (got < 0) return unreadable(member);
        if (got == 0) break;
        const auto bytes = static_cast<std::uint64_t>(got);
        if (declared && bytes > *declared - written) return wrongSize();
        written += bytes;
        // The bytes that really come out count against the bound, not the
        // sizes the members declare; it is never passed, not even by one block.
        if (bytes > budget_.bytesLeft) return UnzipStatus::TooLarge;
        budget_.bytesLeft -= bytes;
        out->write(buffer_.data(), static_cast<std::size_t>(got));
        sinceCheck += bytes;
        if (sinceCheck >= kRecheckEvery) {
          sinceCheck = 0;
          if (!roomFor(0, true)) return UnzipStatus::OutOfSpace;
        }
      }
      if (declared && written != *declared) return wrongSize();
      out->commit();
      committed = true;
    } catch (const core::RuntimeError& e) {
      // A full disk stops the extraction; any other member that cannot be
      // written (a name the host refuses, a folder of that name) is skipped.
      if (e.number() == core::err::DiskFull) return UnzipStatus::OutOfSpace;
    }
    return UnzipStatus::Done;
  }

  // Hands a member unpacked whole, within the budget as copyOut counts it,
  // to the writer; key: its stored name in lower case.
  UnzipStatus place(ArchiveMember& member, std::vector<char>&& data, std::string key) {
    if (budget_.membersLeft == 0) return UnzipStatus::TooManyMembers;
    --budget_.membersLeft;
    if (data.size() > budget_.bytesLeft) return UnzipStatus::TooLarge;
    budget_.bytesLeft -= data.size();
    std::string target = core::joinPath(folder_, member.stored);
    if (!writer_.queue(std::move(target), std::move(data), std::move(member))) return UnzipStatus::OutOfSpace;
    queued_.insert(std::move(key));
    return UnzipStatus::Done;
  }

  // Waits for the writer and keeps the members it wrote, in archive order;
  // false when it met a full disk. Called before any call of this thread's
  // own into the file system or the journal.
  [[nodiscard]] bool settle() {
    MemberWriter::Finished finished = writer_.finish();
    for (ArchiveMember& member : finished.written) members_.add(std::move(member));
    queued_.clear();
    return !finished.diskFull;
  }

  UnzipStatus wrongSize() {
    cause_ = current_ + " does not hold the number of bytes it declares";
    return UnzipStatus::Damaged;
  }

  // A read that failed part-way: the data is damaged or fails its check
  // sum, which for an encrypted member is what a wrong password gives.
  UnzipStatus unreadable(zip_file_t* member) {
    if (encrypted_) {
      cause_ = current_;
      return UnzipStatus::WrongPassword;
    }
    cause_ = current_ + " cannot be read (" + errorWords(zip_file_get_error(member)) + ")";
    return UnzipStatus::Damaged;
  }

  core::Context& ctx_;
  zip_t* archive_;
  ExtractBudget& budget_;
  ArchiveMembers& members_;
  std::string memberFolder_;
  std::string folder_;
  std::optional<std::string> password_;
  std::string current_;  // the member being extracted, with its folders
  bool encrypted_ = false;
  std::string cause_;
  std::vector<char> buffer_ = std::vector<char>(kChunk);
  Unpacker unpacker_;  // for the members unpacked in place
  InflateAhead ahead_{kAheadBound, std::max(1u, std::thread::hardware_concurrency())};
  zip_uint64_t next_ = 0;  // the first member not yet looked at for handing over
  // The library's answers for the members from the one being extracted to
  // next_, each in the place of its number modulo kAheadMembers.
  struct Looked {
    zip_uint64_t index = ZIP_UINT64_MAX;
    bool known = false;
    zip_stat_t st{};
  };
  std::vector<Looked> looked_ = std::vector<Looked>(kAheadMembers);
  std::optional<std::uint64_t> lastFree_;  // what the disk had free when last asked
  std::uint64_t sinceLook_ = 0;            // taken since, at most
  // The stored names of the members queued since the writer was last
  // waited for, in lower case.
  std::unordered_set<std::string> queued_;
  // With one processor a second thread only takes turns with this one.
  MemberWriter writer_{ctx_, std::thread::hardware_concurrency() > 1};
};

// The archive opened read-only through a window of its bytes; a file that
// is not a plain file is left to the library to open. error: why not, when
// nullptr.
ArchivePtr openArchive(const std::string& host, int& error) {
  zip_error_t failure;
  zip_error_init(&failure);
  ArchivePtr archive;
  if (zip_source_t* source = OpenArchiveSource(host, failure)) {
    archive.reset(zip_open_from_source(source, ZIP_RDONLY, &failure));
    if (!archive) zip_source_free(source);
  } else if (zip_error_code_zip(&failure) == ZIP_ER_OK) {
    archive.reset(zip_open(host.c_str(), ZIP_RDONLY, &error));
    zip_error_fini(&failure);
    return archive;
  }
  error = zip_error_code_zip(&failure);
  zip_error_fini(&failure);
  return archive;
}

}  // namespace

UnzipResult UnzipToTempZip(core::Context& ctx, const std::string& archivePath, ExtractBudget& budget,
                           ArchiveMembers& members, const std::string& memberFolder) {
  std::string host;
  if (!core::step([&] { host = ctx.fs.hostPath(archivePath); })) return {};
  if (CheckMemberLayout(host) == MemberLayout::Overlapping) return {UnzipStatus::Overlapping, {}};
  int error = 0;
  ArchivePtr archive = openArchive(host, error);
  if (!archive) {
    if (libraryUnusable(error)) throw core::RuntimeError(core::err::LibraryNotLoaded, "The ZIP library cannot work");
    return {UnzipStatus::Unreadable, unreadableCause(error)};
  }
  return Extraction(ctx, archive.get(), budget, members, memberFolder).run();
}

}  // namespace install
