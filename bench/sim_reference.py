#!/usr/bin/python3
"""A straight numpy implementation of the channel model's fixed-point chain, as the reference
for the speed of src/sim (bench/SimBench.cpp) and as an independent check of its arithmetic.

    /usr/bin/python3 bench/sim_reference.py PROGRAM.prg [--channel N] [--samples N]
                                            [--out FILE.npy]

Reads the program file's register writes (the same bytes the model decodes), runs a real tone
of amplitude 0.5 at 0.1 of the clock through the four-channel-mode chain with the model's
default assumptions (18-bit NCO table and words, half-up rounding, 20-bit words between the
stages, 24-bit resampler word, resampler at ratio 1, so branch 0 only) and prints the input
samples per second. --out saves the complex output (full scale 1.0) for comparison.

Its CIC integrators are numpy's int64 (wrapping): exact while 20 + 5 log2(D) bits fit 63, that
is up to D = 388; larger decimations are refused (the model switches to 128-bit integrators).
"""
import argparse
import sys
import time

import numpy as np


def parse_program(path):
    clock = None
    regs = {}
    in_writes = False
    with open(path, encoding="ascii", errors="replace") as f:
        for line in f:
            t = line.strip()
            if not in_writes:
                if t == "Page Reg Val":
                    in_writes = True
                elif t.startswith("Clock="):
                    clock = float(t[6:])
                continue
            if not t:
                continue
            page, reg, value = t.split()
            page, reg, value = int(page), int(reg), int(value, 16)
            regs[(0 if reg < 16 else page, reg)] = value
    return clock, regs


def signed(v, bits):
    return v - (1 << bits) if v >= 1 << (bits - 1) else v


def decode(clock, regs, ch):
    b = lambda page, reg: regs[(0 if reg < 16 else page, reg)]
    w16 = lambda page, reg: b(page, reg) | (b(page, reg + 1) << 8)
    base = 8 * ch
    ctl = base + 7
    s = {"clock": clock}
    s["input_bits"] = 14 if ((b(ctl, 27) >> 4) & 3) == 0 else 16
    s["phase"] = w16(base + 6, 16)
    s["freq"] = sum(b(base + 6, 18 + n) << (8 * n) for n in range(4))
    cic = b(ctl, 23)
    s["mix20"] = bool(cic & 0x40)
    s["prescale"] = (b(ctl, 16) & 7) + (cic & 7) + 6 * ((cic >> 3) & 7) - 62
    s["d"] = (w16(ctl, 21) & 0xFFF) + 1
    s["coarse"] = (b(ctl, 25) >> 4) & 7
    s["fine"] = w16(ctl, 30) & 0x3FFF
    half = [signed(w16(base, 16 + 2 * i), 16) for i in range(8)]
    half += [signed(w16(base + 1, 16 + 2 * i), 16) for i in range(3)]
    s["cfir"] = np.array(half + half[-2::-1], dtype=np.int64)
    half = [signed(w16(base + 2 + q, 16 + 2 * j), 16) for q in range(4) for j in range(8)]
    s["pfir"] = np.array(half + half[-2::-1], dtype=np.int64)
    nmult = (b(64, 17) & 0x3F) + 1
    nosym = bool(b(64, 17) & 0x40)
    phases = 64
    while phases > 4 and phases * nmult > 512:
        phases //= 2
    mem = [signed(b(p, 16 + 2 * j) | ((b(p, 17 + 2 * j) & 0x0F) << 8), 12)
           for p in range(32, 64) for j in range(8)]
    q = phases * nmult
    taps = []
    for i in range(q):
        k = i if nosym else (i if i < q // 2 else q - 1 - i)
        taps.append(mem[k] if k < 256 else 0)
    s["res_branch0"] = np.array(taps[0::phases], dtype=np.int64)
    fs = b(64, 19)
    s["final_shift"] = fs & 0x0F
    s["out_bits"] = 12 + 4 * ((fs >> 4) & 3)
    return s


def requant(v, k, bits):
    """v * 2^k, rounded half up when k < 0, saturated to a signed word of `bits` bits."""
    v = v << k if k >= 0 else (v + (1 << (-k - 1))) >> -k
    return np.clip(v, -(1 << (bits - 1)), (1 << (bits - 1)) - 1)


def run(s, x):
    bits = s["input_bits"]
    q = np.clip(np.floor(x * 2.0 ** (bits - 1) + 0.5), -(2 ** (bits - 1)), 2 ** (bits - 1) - 1)
    x19 = q.astype(np.int64) << (19 - bits)
    # NCO: 18-bit table, top 18 phase bits.
    table = np.floor(131071.0 * np.sin(2 * np.pi * np.arange(1 << 18) / (1 << 18)) + 0.5)
    table = table.astype(np.int64)
    n = np.arange(len(x), dtype=np.uint64)
    phase = (np.uint64(s["phase"] << 16) + n * np.uint64(s["freq"])) & np.uint64(0xFFFFFFFF)
    idx = (phase >> np.uint64(14)).astype(np.int64)
    sn = table[idx]
    cs = table[(idx + (1 << 16)) & ((1 << 18) - 1)]
    mix_bits = 20 if s["mix20"] else 16
    shift = 18 + 17 - (mix_bits - 1)
    mi = ((x19 * cs + (1 << (shift - 1))) >> shift) << (20 - mix_bits)
    mq = ((-x19 * sn + (1 << (shift - 1))) >> shift) << (20 - mix_bits)
    out = []
    for m in (mi, mq):
        v = m
        with np.errstate(over="ignore"):
            for _ in range(5):
                v = np.cumsum(v, dtype=np.int64)  # wraps as the integrators do
            v = v[s["d"] - 1 :: s["d"]]
            for _ in range(5):
                v = np.diff(v, prepend=np.int64(0))
        v = requant(v, s["prescale"], 20)
        v = requant(v, s["coarse"], 20)
        v = requant(np.convolve(v, s["cfir"])[: len(v)][1::2], -16, 20)
        v = requant(np.convolve(v, s["pfir"])[: len(v)][1::2], -16, 20)
        v = requant(v * s["fine"], -10, 20)
        v = requant(np.convolve(v, s["res_branch0"])[: len(v)], s["final_shift"] - 15 + 4, 24)
        v = requant(v, s["out_bits"] - 24, s["out_bits"])
        out.append(v.astype(np.float64) / 2.0 ** (s["out_bits"] - 1))
    return out[0] + 1j * out[1]


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("program")
    ap.add_argument("--channel", type=int, default=0)
    ap.add_argument("--samples", type=int, default=1 << 20)
    ap.add_argument("--out")
    a = ap.parse_args()
    clock, regs = parse_program(a.program)
    s = decode(clock, regs, a.channel)
    if 20 + 5 * np.log2(s["d"]) > 63:
        print(f"D={s['d']}: the CIC needs more than 64-bit integrators here", file=sys.stderr)
        return 2
    k = np.arange(a.samples)
    x = (0.5 * np.cos(0.6283 * k + 0.1)).astype(np.float32).astype(np.float64)
    best = float("inf")
    for _ in range(3):
        t0 = time.process_time()
        y = run(s, x)
        best = min(best, time.process_time() - t0)
    print(f"numpy reference: {a.samples / best / 1e6:.2f} M input samples/s "
          f"(D={s['d']}, {len(y)} outputs)")
    if a.out:
        np.save(a.out, y)
    return 0


if __name__ == "__main__":
    sys.exit(main())
