#!/usr/bin/env bash
# Prints what running a DOS program through an emulator costs beyond the
# emulator itself: under Wine, a real run of 50 files of a real DOS program
# through Debian's dosbox (by the tests' bridge), beside a plain loop that
# starts the same dosbox command for each file. The last line reads
# "emulator run / bare loop = R".
#   bash bench/emulator/run.sh [windows-build-dir] [files]
exec bash "$(dirname "$0")/../engine/under-wine.sh" emulator 50 "$@"
