#!/usr/bin/env python3
"""Writes a speech model in whisper.cpp's ggml format with random weights.

The model has the layout and shapes of a real one, so the recogniser loads it and runs it over
audio at the real speed of that size, but what it "hears" is noise: its text is made-up words.
The tests use a tiny one (a few MB); the draft benchmark makes tiny.en- and base.en-shaped ones.

    random-speech-model.py OUT [--shape test|tiny.en|base.en|tiny|base] [--seed N] [--f32|--q8]
    random-speech-model.py OUT --truncate BYTES   (the same file cut short, for refusal tests)
"""

import argparse
import struct
import sys

import numpy as np

MAGIC = 0x67676D6C  # "ggml"
ENGLISH_VOCAB = 51864
MULTILINGUAL_VOCAB = 51865
TEXT_TOKENS = 50257  # the tokens with text; the special ones follow

# (n_state, n_head, n_audio_layer, n_text_layer, multilingual)
SHAPES = {
    "test": (32, 2, 1, 1, False),
    "test-multilingual": (32, 2, 1, 1, True),
    "tiny.en": (384, 6, 4, 4, False),
    "tiny": (384, 6, 4, 4, True),
    "base.en": (512, 8, 6, 6, False),
    "base": (512, 8, 6, 6, True),
}
N_AUDIO_CTX = 1500  # 30 s of 10 ms frames after the stride-2 convolution
N_TEXT_CTX = 448
N_MELS = 80
N_FFT_BINS = 201
F32, F16 = 0, 1
Q8_0 = 8  # ggml's type: blocks of 32 weights, one 16-bit scale and 32 signed bytes
FTYPE_Q8_0 = 2007  # the file's type: quantisation version 2, "mostly Q8_0"


def syllable_words(rng, count):
    """Pronounceable made-up tokens, half of them starting a word (a leading space)."""
    consonants = list("bcdfghjklmnprstvwz")
    vowels = list("aeiou")
    words = []
    for i in range(count):
        syllables = 1 + (i % 3)
        text = "".join(rng.choice(consonants) + rng.choice(vowels) for _ in range(syllables))
        words.append((" " if i % 2 == 0 else "") + text)
    words[220] = " "  # where the real vocabulary has it; the decoder looks it up
    return words


def tensors(n_state, n_head, n_audio_layer, n_text_layer, n_vocab, weight_type):
    """(name, ggml dims (innermost first), type) of every tensor, in the order they are written."""
    del n_head
    out = [
        ("encoder.positional_embedding", (n_state, N_AUDIO_CTX), F32),
        ("encoder.conv1.weight", (3, N_MELS, n_state), weight_type),
        ("encoder.conv1.bias", (1, n_state), F32),
        ("encoder.conv2.weight", (3, n_state, n_state), weight_type),
        ("encoder.conv2.bias", (1, n_state), F32),
        ("encoder.ln_post.weight", (n_state,), F32),
        ("encoder.ln_post.bias", (n_state,), F32),
    ]

    def block(prefix, attentions):
        out.extend([
            (f"{prefix}.mlp_ln.weight", (n_state,), F32),
            (f"{prefix}.mlp_ln.bias", (n_state,), F32),
            (f"{prefix}.mlp.0.weight", (n_state, 4 * n_state), weight_type),
            (f"{prefix}.mlp.0.bias", (4 * n_state,), F32),
            (f"{prefix}.mlp.2.weight", (4 * n_state, n_state), weight_type),
            (f"{prefix}.mlp.2.bias", (n_state,), F32),
        ])
        for attention in attentions:
            out.extend([
                (f"{prefix}.{attention}_ln.weight", (n_state,), F32),
                (f"{prefix}.{attention}_ln.bias", (n_state,), F32),
                (f"{prefix}.{attention}.query.weight", (n_state, n_state), weight_type),
                (f"{prefix}.{attention}.query.bias", (n_state,), F32),
                (f"{prefix}.{attention}.key.weight", (n_state, n_state), weight_type),
                (f"{prefix}.{attention}.value.weight", (n_state, n_state), weight_type),
                (f"{prefix}.{attention}.value.bias", (n_state,), F32),
                (f"{prefix}.{attention}.out.weight", (n_state, n_state), weight_type),
                (f"{prefix}.{attention}.out.bias", (n_state,), F32),
            ])

    for i in range(n_audio_layer):
        block(f"encoder.blocks.{i}", ["attn"])
    out.extend([
        ("decoder.positional_embedding", (n_state, N_TEXT_CTX), F32),
        ("decoder.token_embedding.weight", (n_state, n_vocab), weight_type),
        ("decoder.ln.weight", (n_state,), F32),
        ("decoder.ln.bias", (n_state,), F32),
    ])
    for i in range(n_text_layer):
        block(f"decoder.blocks.{i}", ["attn", "cross_attn"])
    return out


def quantised(values):
    """The values as Q8_0 blocks, the way the model quantiser writes them."""
    blocks = values.astype("<f4").reshape(-1, 32)
    scale = np.abs(blocks).max(axis=1) / 127.0
    inverse = np.divide(1.0, scale, out=np.zeros_like(scale), where=scale > 0)
    codes = np.round(blocks * inverse[:, None]).astype("i1")
    out = np.empty(len(blocks), dtype=[("d", "<f2"), ("qs", "i1", 32)])
    out["d"] = scale
    out["qs"] = codes
    return out.tobytes()


def write_model(path, shape, seed, weight_type):
    """Writes the model; with Q8_0 its two-dimensional weights are quantised, as the model
    quantiser leaves them (the convolutions stay 16-bit, the rest 32-bit)."""
    file_type = FTYPE_Q8_0 if weight_type == Q8_0 else weight_type
    if weight_type == Q8_0:
        weight_type = F16
    n_state, n_head, n_audio_layer, n_text_layer, multilingual = SHAPES[shape]
    n_vocab = MULTILINGUAL_VOCAB if multilingual else ENGLISH_VOCAB
    rng = np.random.default_rng(seed)
    with open(path, "wb") as f:
        f.write(struct.pack("<I", MAGIC))
        f.write(struct.pack("<11i", n_vocab, N_AUDIO_CTX, n_state, n_head, n_audio_layer,
                            N_TEXT_CTX, n_state, n_head, n_text_layer, N_MELS, file_type))
        # Mel filters: each band a triangle over a stretch of the spectrum.
        filters = np.zeros((N_MELS, N_FFT_BINS), dtype="<f4")
        for m in range(N_MELS):
            centre = 1 + m * (N_FFT_BINS - 2) / N_MELS
            bins = np.arange(N_FFT_BINS)
            filters[m] = np.maximum(0.0, 1.0 - np.abs(bins - centre) / 2.0) * 0.01
        f.write(struct.pack("<2i", N_MELS, N_FFT_BINS))
        f.write(filters.tobytes())
        words = syllable_words(rng, TEXT_TOKENS)
        f.write(struct.pack("<i", len(words)))
        for word in words:
            data = word.encode("ascii")
            f.write(struct.pack("<I", len(data)))
            f.write(data)
        for name, dims, ttype in tensors(n_state, n_head, n_audio_layer, n_text_layer, n_vocab,
                                         weight_type):
            encoded = name.encode("ascii")
            quantise = (file_type == FTYPE_Q8_0 and len(dims) == 2
                        and not name.endswith("positional_embedding")
                        and not name.endswith("conv1.bias") and not name.endswith("conv2.bias"))
            if quantise:
                ttype = Q8_0
            f.write(struct.pack("<3i", len(dims), len(encoded), ttype))
            f.write(struct.pack(f"<{len(dims)}i", *dims))
            f.write(encoded)
            count = int(np.prod(dims))
            if name.endswith("ln.weight") or name.endswith("ln_post.weight"):
                values = np.ones(count)
            elif name.endswith(".bias"):
                values = np.zeros(count)
            else:
                values = rng.standard_normal(count) * 0.02
            if ttype == Q8_0:
                f.write(quantised(values))
            else:
                f.write(values.astype("<f2" if ttype == F16 else "<f4").tobytes())


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("out")
    parser.add_argument("--shape", choices=sorted(SHAPES), default="test")
    parser.add_argument("--seed", type=int, default=1)
    types = parser.add_mutually_exclusive_group()
    types.add_argument("--f32", action="store_true", help="32-bit weights instead of 16-bit")
    types.add_argument("--q8", action="store_true", help="8-bit quantised weights (Q8_0)")
    parser.add_argument("--truncate", type=int, metavar="BYTES",
                        help="write the model, then cut it to this many bytes")
    args = parser.parse_args()
    write_model(args.out, args.shape, args.seed, F32 if args.f32 else Q8_0 if args.q8 else F16)
    if args.truncate is not None:
        with open(args.out, "r+b") as f:
            f.truncate(args.truncate)
    return 0


if __name__ == "__main__":
    sys.exit(main())
