#include "support/music_files.h"

#include <cstdint>

#include "support/little_endian_bytes.h"

namespace {

void PutBe(std::string& bytes, uint32_t value, int count) {
    for (int i = count - 1; i >= 0; --i) {
        bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

// MIDI variable-length quantity.
void PutVarLen(std::string& bytes, uint32_t value) {
    std::string reversed(1, static_cast<char>(value & 0x7F));
    while ((value >>= 7) != 0) {
        reversed += static_cast<char>((value & 0x7F) | 0x80);
    }
    bytes.append(reversed.rbegin(), reversed.rend());
}

}  // namespace

std::string WaveBytes(int milliseconds) {
    const uint32_t rate = 8000, samples = rate * static_cast<uint32_t>(milliseconds) / 1000;
    std::string data;
    for (uint32_t i = 0; i < samples; ++i) {
        // 500 Hz square wave around the 8-bit midpoint.
        data += static_cast<char>((i / 8) % 2 == 0 ? 0x90 : 0x70);
    }
    // The format block: its size, PCM, mono, samples and bytes a second, block align, bits a sample.
    const std::string format = Bytes().U32(16).U16(1).U16(1).U32(rate).U32(rate).U16(1).U16(8).text;
    return "RIFF" + Bytes().U32(4 + 8 + 16 + 8 + samples).text + "WAVEfmt " + format + "data" +
           Bytes().U32(samples).text + data;
}

std::string MidiBytes(int milliseconds) {
    const uint32_t division = 480;  // ticks per quarter note, at the default 120 beats a minute
    const uint32_t ticks = division * 2 * static_cast<uint32_t>(milliseconds) / 1000;
    std::string track;
    PutVarLen(track, 0);
    track += "\x90\x3C\x40";  // note on, middle C
    PutVarLen(track, ticks);
    track += std::string("\x80\x3C\x00", 3);  // note off
    PutVarLen(track, 0);
    track += std::string("\xFF\x2F\x00", 3);  // end of track

    std::string bytes = "MThd";
    PutBe(bytes, 6, 4);
    PutBe(bytes, 0, 2);  // format 0
    PutBe(bytes, 1, 2);  // one track
    PutBe(bytes, division, 2);
    bytes += "MTrk";
    PutBe(bytes, static_cast<uint32_t>(track.size()), 4);
    return bytes + track;
}

std::string Mp3Bytes(int milliseconds) {
    // MPEG-1 layer III, 128 kbit/s, 44.1 kHz, mono, no CRC: 417-byte frames
    // of 1152 samples. All-zero side information decodes as silence.
    const int frameBytes = 144 * 128000 / 44100, frames = milliseconds * 44100 / 1152 / 1000 + 1;
    std::string frame("\xFF\xFB\x90\xC0", 4);
    frame.append(static_cast<size_t>(frameBytes) - frame.size(), '\0');
    std::string bytes;
    for (int i = 0; i < frames; ++i) {
        bytes += frame;
    }
    return bytes;
}
