#include "scores/ReplayFile.h"

#include <zlib.h>

#include <cstring>

#include "scores/ScoreFile.h"

namespace {
// Little pieces of the compressed body: unsigned LEB128 numbers, zigzag for
// signed ones, and strings as a length and their bytes.
struct Writer {
    std::string out;
    void U(uint64_t v) {
        while (v >= 0x80) {
            out += static_cast<char>((v & 0x7F) | 0x80);
            v >>= 7;
        }
        out += static_cast<char>(v);
    }
    void S(int64_t v) { U((static_cast<uint64_t>(v) << 1) ^ static_cast<uint64_t>(v >> 63)); }
    void Text(std::string_view s) {
        U(s.size());
        out.append(s);
    }
    void Byte(uint8_t b) { out += static_cast<char>(b); }
};

struct Reader {
    std::string_view in;
    size_t pos = 0;
    bool ok = true;
    uint64_t U() {
        uint64_t v = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            if (pos >= in.size()) return Fail();
            const uint8_t b = static_cast<uint8_t>(in[pos++]);
            v |= static_cast<uint64_t>(b & 0x7F) << shift;
            if ((b & 0x80) == 0) return v;
        }
        return Fail();
    }
    int64_t S() {
        const uint64_t u = U();
        return static_cast<int64_t>(u >> 1) ^ -static_cast<int64_t>(u & 1);
    }
    int32_t S32() {
        const int64_t v = S();
        if (v < INT32_MIN || v > INT32_MAX) return static_cast<int32_t>(Fail());
        return static_cast<int32_t>(v);
    }
    uint8_t Byte() {
        if (pos >= in.size()) return static_cast<uint8_t>(Fail());
        return static_cast<uint8_t>(in[pos++]);
    }
    std::string Text(size_t limit) {
        const uint64_t n = U();
        if (!ok || n > limit || n > in.size() - pos) return Fail(), std::string();
        std::string s(in.substr(pos, n));
        pos += n;
        return s;
    }
    uint64_t Fail() {
        ok = false;
        pos = in.size();
        return 0;
    }
};

bool Inflate(std::string_view packed, size_t expected, std::string& out) {
    out.resize(expected);
    z_stream z{};
    if (inflateInit(&z) != Z_OK) return false;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
    z.avail_in = static_cast<uInt>(packed.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    const int rc = inflate(&z, Z_FINISH);
    const bool done = rc == Z_STREAM_END && z.avail_out == 0 && z.avail_in == 0;
    inflateEnd(&z);
    return done;
}

uint64_t Fnv1a(std::string_view s) {
    uint64_t h = 14695981039346656037ull;  // FNV-1a's 64-bit offset basis
    for (unsigned char c : s) {
        h ^= c;
        h *= 1099511628211ull;
    }
    return h;
}
}  // namespace

std::string EncodeReplay(const ReplayData& d) {
    Writer w;
    w.S(d.Seed);
    w.S(d.Terrain);
    w.S(d.Year), w.S(d.Month), w.S(d.Day);
    w.S(d.LastSecondTick), w.S(d.NextFrameTick);
    w.S(d.FrameCount), w.S(d.Fps);
    w.S(d.OptKillsInRow), w.S(d.OptRealMovement);
    w.U(d.UnitFiles.size());
    for (const auto& [name, text] : d.UnitFiles) {
        w.Text(name);
        w.Text(text);
    }
    w.Text(d.RecordText);
    // Events: the cursor as a change from the last frame, which is small and
    // packs well.
    w.U(d.Events.size());
    int32_t x = 0, y = 0;
    for (const ReplayEvent& e : d.Events) {
        w.Byte(e.Kind);
        if (e.Kind == ReplayPausedPass) continue;
        w.Byte(e.Keys);
        w.Byte(e.Buttons);
        if (e.Kind != ReplayFrameEvent) continue;
        w.S(int64_t{e.X} - x);
        w.S(int64_t{e.Y} - y);
        x = e.X, y = e.Y;
    }
    w.U(d.Ticks.size());
    int64_t t = d.LastSecondTick;
    for (int64_t v : d.Ticks) {
        w.S(v - t);
        t = v;
    }

    uLongf packedSize = compressBound(static_cast<uLong>(w.out.size()));
    std::string packed(packedSize, '\0');
    compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize, reinterpret_cast<const Bytef*>(w.out.data()),
              static_cast<uLong>(w.out.size()), 9);
    packed.resize(packedSize);
    return std::string(ReplayMagic) + " " + std::to_string(ReplayFormatVersion) + " " + d.Version + " " +
           std::to_string(w.out.size()) + "\n" + packed;
}

bool DecodeReplay(std::string_view bytes, ReplayData& d, std::string& why, bool checkVersion) {
    d = ReplayData{};
    auto fail = [&why](const char* reason) {
        why = reason;
        return false;
    };
    if (bytes.size() > ReplayMaxFileBytes) return fail("the recording is too large");
    const size_t eol = bytes.find('\n');
    const std::string magic = std::string(ReplayMagic) + " ";
    if (eol == std::string_view::npos || eol > 128 || bytes.substr(0, magic.size()) != magic)
        return fail("this is not a recording");
    // "DORVIK REPLAY <format> <version> <body size>"
    std::string_view head = bytes.substr(magic.size(), eol - magic.size());
    std::vector<std::string_view> parts;
    for (size_t p = 0; p <= head.size();) {
        size_t q = head.find(' ', p);
        if (q == std::string_view::npos) q = head.size();
        parts.push_back(head.substr(p, q - p));
        p = q + 1;
    }
    if (parts.size() != 3) return fail("the recording is damaged");
    if (parts[0] != std::to_string(ReplayFormatVersion)) return fail("the recording is of another format");
    d.Version = std::string(parts[1]);
    if (checkVersion && d.Version != GameVersion)
        return fail(("the recording is of version " + d.Version.substr(0, 16) + ", this is " + GameVersion).c_str());
    size_t bodySize = 0;
    if (parts[2].empty() || parts[2].size() > 9) return fail("the recording is damaged");
    for (char c : parts[2]) {
        if (c < '0' || c > '9') return fail("the recording is damaged");
        bodySize = bodySize * 10 + static_cast<size_t>(c - '0');
    }
    if (bodySize > ReplayMaxBodyBytes) return fail("the recording is too large");
    std::string body;
    if (!Inflate(bytes.substr(eol + 1), bodySize, body)) return fail("the recording is damaged");

    Reader r{body};
    const int64_t seed = r.S();
    if (seed < 0 || seed > 0xFFFFFF) r.Fail();
    d.Seed = static_cast<uint32_t>(seed);
    d.Terrain = r.S32();
    d.Year = r.S32(), d.Month = r.S32(), d.Day = r.S32();
    d.LastSecondTick = r.S(), d.NextFrameTick = r.S();
    d.FrameCount = r.S32(), d.Fps = r.S32();
    d.OptKillsInRow = r.S32(), d.OptRealMovement = r.S32();
    const uint64_t files = r.U();
    if (files > 16) r.Fail();
    for (uint64_t i = 0; r.ok && i < files; i++) {
        std::string name = r.Text(16);
        std::string text = r.Text(ReplayMaxUnitFileBytes);
        d.UnitFiles.emplace_back(std::move(name), std::move(text));
    }
    d.RecordText = r.Text(512);
    const uint64_t events = r.U();
    // Every event takes at least one byte: a count beyond the body is a lie.
    if (events > ReplayMaxEvents || events > body.size()) r.Fail();
    d.Events.reserve(r.ok ? events : 0);
    int64_t x = 0, y = 0;
    for (uint64_t i = 0; r.ok && i < events; i++) {
        ReplayEvent e;
        e.Kind = r.Byte();
        if (e.Kind > ReplayOptionsSet) r.Fail();
        if (e.Kind != ReplayPausedPass) {
            e.Keys = r.Byte();
            e.Buttons = r.Byte();
        }
        if (e.Kind == ReplayFrameEvent) {
            x += r.S();
            y += r.S();
            // The cursor is a window position: far outside means damage.
            if (x < -100000 || x > 100000 || y < -100000 || y > 100000) r.Fail();
            e.X = static_cast<int32_t>(x), e.Y = static_cast<int32_t>(y);
        }
        d.Events.push_back(e);
    }
    const uint64_t ticks = r.U();
    if (ticks > ReplayMaxTicks || ticks > body.size()) r.Fail();
    d.Ticks.reserve(r.ok ? ticks : 0);
    int64_t t = d.LastSecondTick;
    for (uint64_t i = 0; r.ok && i < ticks; i++) {
        const int64_t step = r.S();
        // A game is not years long.
        if (step < -(int64_t{1} << 40) || step > (int64_t{1} << 40)) r.Fail();
        t += step;
        d.Ticks.push_back(t);
    }
    if (!r.ok || r.pos != body.size()) return fail("the recording is damaged");
    why.clear();
    return true;
}

std::string ReplayKeyOfRecordText(std::string_view text) {
    static const char* const hex = "0123456789abcdef";
    uint64_t h = Fnv1a(text);
    std::string s(16, '0');
    for (int i = 15; i >= 0; i--, h >>= 4) s[static_cast<size_t>(i)] = hex[h & 15];
    return s;
}

std::string ReplayKey(const ScoreRecord& entry) {
    ScoreRecord r = entry;
    r.Name.clear();
    return ReplayKeyOfRecordText(RecordLine(r));
}
