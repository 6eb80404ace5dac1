#!/usr/bin/env bash
# Prints what several commands at once gain: under Wine, real runs of 200
# files with a program that works about 50 ms of processor time each, 1 and
# 2 commands at once by turns. The last line reads "2 at once / 1 at once = R".
#   bash bench/parallel/run.sh [windows-build-dir] [files]
exec bash "$(dirname "$0")/../engine/under-wine.sh" parallel 200 "$@"
