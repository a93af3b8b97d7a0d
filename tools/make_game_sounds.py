#!/usr/bin/env python3
"""Makes the sample game's sounds and music and writes them as WAV files into game/Data/Sounds/.

Everything is synthesised from code in this file (Python's standard library only), with a fixed
random seed, so the output is the same on every machine. Files are mono and 16-bit, kept small:
the effects are 22050 Hz and last a fraction of a second; the music is a 10-second loop the
engine repeats, at 11025 Hz (its highest harmonics stay below 5 kHz).

Run it from anywhere: python3 tools/make_game_sounds.py
"""

import math
import os
import random
import struct
import wave

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "game", "Data", "Sounds")
# The sample rate of the file being made.
RATE = 22050


def write_wav(name, samples):
    """Writes samples (floats, -1..1) as a mono 16-bit WAV file."""
    path = os.path.join(OUT, name)
    frames = b"".join(struct.pack("<h", int(round(max(-1.0, min(1.0, s)) * 32767)))
                      for s in samples)
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(frames)
    print(f"{path}: {len(samples) / RATE:.2f} s")


def silence(seconds):
    return [0.0] * int(seconds * RATE)


def mix_into(buffer, samples, at, gain=1.0):
    """Adds samples into buffer from sample index at, wrapping round the end (for loops)."""
    n = len(buffer)
    for i, s in enumerate(samples):
        buffer[(at + i) % n] += s * gain


def note_frequency(semitones_from_a4):
    return 440.0 * 2.0 ** (semitones_from_a4 / 12.0)


def envelope(i, n, attack, release):
    """Linear attack, exponential-ish release to zero at the end."""
    a = int(attack * RATE)
    if i < a:
        return i / a
    rest = (n - i) / max(1, n - a)
    return rest ** release


def pluck(frequency, seconds, brightness=0.5):
    """A soft plucked tone: a few harmonics that fade, the upper ones faster."""
    n = int(seconds * RATE)
    out = []
    for i in range(n):
        t = i / RATE
        s = 0.0
        for h, weight in ((1, 1.0), (2, 0.5 * brightness), (3, 0.25 * brightness),
                          (4, 0.12 * brightness)):
            s += weight * math.exp(-t * (2.5 + 3.0 * h)) * math.sin(2 * math.pi * frequency * h * t)
        out.append(s * envelope(i, n, 0.004, 1.0))
    return out


def pad(frequency, seconds):
    """A warm held tone for the bass line, with a slow swell."""
    n = int(seconds * RATE)
    out = []
    for i in range(n):
        t = i / RATE
        s = math.sin(2 * math.pi * frequency * t) + 0.3 * math.sin(2 * math.pi * 2 * frequency * t)
        swell = min(1.0, t / 0.08) * (1.0 - 0.4 * t / seconds)
        out.append(s * swell * envelope(i, n, 0.02, 0.6))
    return out


# --------------------------------------------------------------------------------------------
# Music: a calm loop for the meadow, 96 beats per minute, two bars of four beats, in G major.


def meadow_theme():
    beat = 60.0 / 96.0
    bars = 4
    loop = silence(bars * 4 * beat)
    # Semitones from A4: G3 -14, B3 -10, C4 -9, D4 -7, E4 -5, G4 -2, A4 0, B4 2, D5 5, E5 7.
    bass = [(-26, 4), (-21, 4), (-19, 4), (-22, 4)]  # G2, C3, D3, B2: a bar each
    at = 0
    for note, beats in bass:
        mix_into(loop, pad(note_frequency(note), beats * beat), int(at * beat * RATE), 0.16)
        at += beats
    # The tune, in eighths: (note or None for a rest, eighths).
    tune = [
        (-2, 2), (2, 1), (5, 1), (2, 2), (0, 2),
        (-2, 2), (-5, 1), (-2, 1), (0, 4),
        (-2, 2), (2, 1), (7, 1), (5, 2), (2, 2),
        (0, 2), (-2, 1), (0, 1), (-2, 4),
    ]
    at = 0.0
    for note, eighths in tune:
        if note is not None:
            mix_into(loop, pluck(note_frequency(note), eighths * beat / 2 + 0.25),
                     int(at * RATE), 0.22)
        at += eighths * beat / 2
    # A soft arpeggio an octave below the tune fills each bar.
    chords = [(-14, -10, -7), (-9, -5, -2), (-7, -3, 0), (-10, -7, -2)]
    for bar, chord in enumerate(chords):
        for k in range(8):
            note = chord[k % 3]
            start = (bar * 4 + k * 0.5) * beat
            mix_into(loop, pluck(note_frequency(note), 0.4, 0.2), int(start * RATE), 0.07)
    return loop


def cave_theme():
    """The crystal cave: slow, in A minor, 72 beats per minute; a low drone, a sparse tune of
    bell-like plucks and each note's echo a dotted eighth later, quieter."""
    beat = 60.0 / 72.0
    loop = silence(4 * 4 * beat)
    for bar, note in enumerate((-24, -19, -22, -24)):  # A2, D3, B2, A2
        mix_into(loop, pad(note_frequency(note), 4 * beat), int(bar * 4 * beat * RATE), 0.18)
    tune = [(0, 3), (3, 1), (7, 4), (5, 2), (3, 2), (2, 4), (0, 2), (-2, 2),
            (0, 3), (3, 1), (8, 4), (7, 4), (3, 4)]
    at = 0.0
    for note, eighths in tune:
        frequency = note_frequency(note)
        start = int(at * RATE)
        mix_into(loop, pluck(frequency, 1.2, 0.3), start, 0.2)
        echo = start + int(0.75 * beat * RATE)
        if echo < len(loop):
            mix_into(loop, pluck(frequency, 1.0, 0.2), echo, 0.07)
        at += eighths * beat / 2
    return loop


# --------------------------------------------------------------------------------------------
# Effects


def coin():
    """Two bright chimes a fifth apart, the second held: the classic pickup."""
    out = silence(0.35)
    mix_into(out, pluck(note_frequency(14), 0.09, 0.8), 0, 0.45)          # B5
    mix_into(out, pluck(note_frequency(19), 0.28, 0.8), int(0.07 * RATE), 0.5)  # E6
    return out


def menu_move():
    """A soft short tick for the menu focus moving."""
    out = silence(0.12)
    mix_into(out, pluck(note_frequency(7), 0.06, 0.6), 0, 0.35)  # E5
    return out


def menu_press():
    """A rising pair of notes for a menu button pressed."""
    out = silence(0.3)
    mix_into(out, pluck(note_frequency(3), 0.08, 0.7), 0, 0.4)              # C5
    mix_into(out, pluck(note_frequency(10), 0.2, 0.7), int(0.06 * RATE), 0.45)  # G5
    return out


def footstep(rng, pitch):
    """A short muffled thump on grass: low-passed noise with a quick decay."""
    n = int(0.09 * RATE)
    out = []
    low = 0.0
    for i in range(n):
        t = i / RATE
        noise = rng.uniform(-1.0, 1.0)
        low += (noise - low) * 0.12 * pitch
        thump = math.sin(2 * math.pi * 90 * pitch * t) * math.exp(-t * 60)
        out.append((1.6 * low + 0.5 * thump) * math.exp(-t * 45) * envelope(i, n, 0.002, 0.5))
    return out


def bird_chirps(rng, count):
    """A little phrase of chirps: fast rising and falling whistles."""
    out = silence(1.4)
    at = 0.05
    for _ in range(count):
        length = rng.uniform(0.05, 0.11)
        base = rng.uniform(2600, 3600)
        sweep = rng.uniform(600, 1400) * rng.choice((-1, 1))
        n = int(length * RATE)
        phase = 0.0
        chirp = []
        for i in range(n):
            u = i / n
            f = base + sweep * math.sin(math.pi * u)
            phase += 2 * math.pi * f / RATE
            chirp.append(math.sin(phase) * math.sin(math.pi * u) ** 2)
        mix_into(out, chirp, int(at * RATE), 0.35)
        at += length + rng.uniform(0.03, 0.12)
        if at > 1.25:
            break
    return out


def main():
    global RATE
    os.makedirs(OUT, exist_ok=True)
    rng = random.Random(7)
    RATE = 11025
    write_wav("meadow_theme.wav", meadow_theme())
    RATE = 22050
    write_wav("coin.wav", coin())
    for k, pitch in enumerate((1.0, 0.85, 1.15), start=1):
        write_wav(f"step{k}.wav", footstep(rng, pitch))
    for k, count in enumerate((5, 8), start=1):
        write_wav(f"birds{k}.wav", bird_chirps(rng, count))
    write_wav("menu_move.wav", menu_move())
    write_wav("menu_press.wav", menu_press())
    RATE = 11025
    write_wav("cave_theme.wav", cave_theme())


if __name__ == "__main__":
    main()
