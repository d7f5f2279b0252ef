#!/bin/sh
# Builds the audio fixtures of the playback tests into the folder given as $1:
# a six-second spoken recording in every accepted format, tones, and bad inputs.
# Needs espeak-ng and ffmpeg. Binary fixtures are generated, never committed.
set -eu

out=${1:?usage: make-fixtures.sh OUTPUT_DIR}
mkdir -p "$out"
cd "$out"

ff() { ffmpeg -nostdin -hide_banner -loglevel error -y "$@"; }

# Speech, padded with silence to exactly 6.0 s of 44.1 kHz mono.
espeak-ng -w speech-raw.wav "Dictaro test recording. One, two, three, four, five, six."
ff -i speech-raw.wav -af "aresample=44100,apad=whole_dur=6" -t 6 -ac 1 -c:a pcm_s16le speech.wav
rm -f speech-raw.wav

ff -i speech.wav -c:a libmp3lame -b:a 64k speech.mp3
cp speech.mp3 speech.mpga
ff -i speech.wav -c:a aac -b:a 64k speech.m4a
ff -i speech.wav -c:a pcm_s16be speech.aiff
cp speech.aiff speech.aif
ff -i speech.wav -c:a flac speech.flac
ff -i speech.wav -c:a aac -b:a 64k -f adts speech.aac
ff -i speech.wav -c:a alac -f caf speech.caf
ff -i speech.wav -c:a libopus -b:a 32k speech.opus
ff -i speech.wav -c:a libvorbis -q:a 2 speech.ogg
cp speech.ogg speech.oga
ff -i speech.wav -c:a libopus -b:a 32k speech.mka
# Videos with the speech as their sound: a tiny moving picture beside it.
video() { ff -f lavfi -i "testsrc=size=64x48:rate=10:duration=6" -i speech.wav -shortest "$@"; }
video -c:v libvpx -b:v 50k -c:a libopus -b:a 32k speech.webm
video -c:v mpeg4 -c:a aac -b:a 64k speech.mp4
video -c:v mpeg4 -c:a aac -b:a 64k speech.mov
video -c:v mpeg4 -c:a flac speech.mkv

# Colour bars for two seconds, then plain blue for two, 4:3, with a tone: what the picture shows
# at each time is known.
ff -f lavfi -i "smptebars=size=320x240:rate=25:duration=2" \
    -f lavfi -i "color=c=blue:size=320x240:rate=25:duration=2" -f lavfi -i "sine=f=440:d=4" \
    -filter_complex "[0:v][1:v]concat=n=2:v=1:a=0[v]" -map "[v]" -map 2:a \
    -c:v libx264 -pix_fmt yuv420p -c:a aac -b:a 64k bars.mp4

# Five seconds of a 440 Hz tone, silent from 3.20 to 3.25 s: the gap marks a known point of
# media time in what the player outputs.
ff -f lavfi -i "aevalsrc='0.25*sin(2*PI*440*t)*not(between(t,3.2,3.25))':s=44100:d=5" \
    -c:a pcm_s16le tone440.wav

# Twenty minutes of tone (8 kHz keeps it small), silent from 1200.25 to 1200.30 s: a mark past
# 1,000 s, where a seek target written with too few digits lands milliseconds off. The volume
# is switched per frame, so frames are 50 ms long and the mark falls on their boundaries.
ff -f lavfi -i "sine=f=440:r=8000:d=1200.5:samples_per_frame=400,volume=2,volume=0:enable='between(t,1200.25,1200.29)'" \
    -c:a pcm_s16le long-tone.wav

# 440 Hz on the left and 1 kHz on the right, for the choice of channels; a 1 kHz tone under a
# louder 50 Hz mains hum, for the voice filter.
ff -f lavfi -i "aevalsrc='0.25*sin(2*PI*440*t)|0.25*sin(2*PI*1000*t)':s=44100:d=2:c=stereo" \
    -c:a pcm_s16le stereo-tones.wav
ff -f lavfi -i "aevalsrc='0.1*sin(2*PI*1000*t)+0.3*sin(2*PI*50*t)':s=44100:d=3" \
    -c:a pcm_s16le hum.wav

# Inputs that must be refused (and videos without sound, which play their picture).
: > empty.mp3
printf 'These are notes, not audio.\n' > notes.mp3
ff -f lavfi -i "color=c=red:s=16x16" -frames:v 1 image.png
cp image.png image.mp3
# A sound file with a cover picture: no video.
ff -i speech.mp3 -i image.png -map 0 -map 1 -c:a copy -c:v png -disposition:v attached_pic \
    cover.mp3
ff -f lavfi -i "testsrc=size=64x48:rate=10:duration=1" -c:v mpeg4 -an video-only.mp4
ff -f lavfi -i "testsrc=size=64x48:rate=10:duration=1" -c:v libvpx -an video-only.webm
cp notes.mp3 notes.mp4

# The first half of an MP3: loads, then ends early.
size=$(wc -c < speech.mp3)
head -c $((size / 2)) speech.mp3 > truncated.mp3

touch stamp
