#!/usr/bin/env python3
"""Writes the seven intro clips resources/sounds/intro_0.wav .. intro_6.wav.

Each clip is a short seamless loop (a whole number of beats, every note
fading out before the loop point) of plucked and bell-like tones, mono,
16-bit, 16000 Hz, synthesised here from nothing but arithmetic. Run it from
the repository root; the output is the same on every run.
"""
import math
import struct
import wave
from pathlib import Path

RATE = 16000
OUT = Path(__file__).resolve().parent.parent / "resources" / "sounds"


def note_hz(semitones_from_a4):
    return 440.0 * 2.0 ** (semitones_from_a4 / 12.0)


def pluck(freq, seconds, brightness):
    """A decaying tone with a few harmonics, brighter for larger brightness."""
    count = int(seconds * RATE)
    out = []
    for i in range(count):
        t = i / RATE
        env = math.exp(-t * 6.0) * min(1.0, i / 40.0)
        v = math.sin(2 * math.pi * freq * t)
        v += brightness * 0.5 * math.sin(4 * math.pi * freq * t)
        v += brightness * 0.25 * math.sin(6 * math.pi * freq * t)
        out.append(env * v)
    return out


def bell(freq, seconds, _brightness):
    """Inharmonic partials, as a small metal bar."""
    count = int(seconds * RATE)
    out = []
    for i in range(count):
        t = i / RATE
        env = math.exp(-t * 4.0) * min(1.0, i / 20.0)
        v = (math.sin(2 * math.pi * freq * t) + 0.6 * math.sin(2 * math.pi * freq * 2.76 * t) * math.exp(-t * 6)
             + 0.3 * math.sin(2 * math.pi * freq * 5.4 * t) * math.exp(-t * 10))
        out.append(env * v / 1.9)
    return out


def pad(freq, seconds, _brightness):
    """A soft swell made of two slightly detuned tones."""
    count = int(seconds * RATE)
    out = []
    for i in range(count):
        t = i / RATE
        env = math.sin(math.pi * i / count) ** 2
        v = 0.5 * (math.sin(2 * math.pi * freq * t) + math.sin(2 * math.pi * freq * 1.004 * t))
        out.append(env * v)
    return out


# name, beats per minute, voice, brightness, melody (semitones from A4 per
# eighth note, None for a rest), bass (semitones per bar of eight eighths)
CLIPS = [
    ("crystal drift", 112, bell, 0.0, [0, 7, 12, 7, 3, 7, 10, 7, -2, 5, 10, 5, 0, 5, 8, 5], [-24, -26]),
    ("green horizon", 126, pluck, 0.8, [0, 3, 7, 10, 12, 10, 7, 3, -5, -2, 2, 5, 7, 5, 2, -2], [-24, -29]),
    ("scanline waltz", 150, pluck, 0.4, [0, None, 4, 7, None, 4, -1, None, 2, 7, None, 2], [-24, -29]),
    ("orbit bells", 96, bell, 0.0, [12, None, 7, None, 9, None, 4, None, 5, None, 7, None, 0, None, 2, None],
     [-24, -20]),
    ("wire pulse", 140, pluck, 1.0, [0, 0, 12, 0, 10, 0, 7, 8, 0, 0, 12, 0, 15, 12, 10, 7], [-24, -24]),
    ("phosphor rain", 104, pluck, 0.2, [15, 12, 8, 3, 14, 10, 7, 2, 12, 8, 5, 0, 10, 7, 3, -2], [-27, -29]),
    ("night lattice", 88, pad, 0.0, [0, None, None, None, 3, None, None, None, -2, None, None, None, -5, None,
                                     None, None], [-24, -26]),
]


def render(bpm, voice, brightness, melody, bass):
    eighth = 60.0 / bpm / 2.0
    total = int(round(len(melody) * eighth * RATE))
    mix = [0.0] * total
    note_len = min(eighth * 3.0, 1.2)

    def add(samples, start, gain):
        for i, v in enumerate(samples):
            j = start + i
            if j >= total:  # fold the tail onto the start: the loop stays seamless
                j -= total
            mix[j] += gain * v

    for k, semis in enumerate(melody):
        if semis is not None:
            add(voice(note_hz(semis), note_len, brightness), int(k * eighth * RATE), 0.45)
    bar = max(1, len(melody) // len(bass))
    for k, semis in enumerate(bass):
        add(pad(note_hz(semis), bar * eighth, 0.0), int(k * bar * eighth * RATE), 0.35)
    peak = max(1e-9, max(abs(v) for v in mix))
    return [int(round(v / peak * 0.8 * 32767)) for v in mix]


def main():
    OUT.mkdir(parents=True, exist_ok=True)
    for index, (_name, bpm, voice, brightness, melody, bass) in enumerate(CLIPS):
        samples = render(bpm, voice, brightness, melody, bass)
        with wave.open(str(OUT / f"intro_{index}.wav"), "wb") as w:
            w.setnchannels(1)
            w.setsampwidth(2)
            w.setframerate(RATE)
            w.writeframes(struct.pack(f"<{len(samples)}h", *samples))
        print(f"intro_{index}.wav: {len(samples) / RATE:.2f} s")


if __name__ == "__main__":
    main()
