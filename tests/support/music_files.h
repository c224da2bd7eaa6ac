// Short music files written byte by byte for the music tests.
#pragma once

#include <string>

// A PCM wave file of the given length: 8 kHz, 8 bits, mono, a quiet tone.
std::string WaveBytes(int milliseconds);

// A type-0 MIDI file holding one note of about the given length.
std::string MidiBytes(int milliseconds);

// An MPEG-1 layer III stream of silent frames, about the given length.
std::string Mp3Bytes(int milliseconds);
