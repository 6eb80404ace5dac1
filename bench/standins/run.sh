#!/usr/bin/env bash
# Prints what stand-in names cost: under Wine, real runs of 1,000 files with a
# trivial program, stand-ins Off and Always by turns. The last line reads
# "stand-ins Always / Off = R".
#   bash bench/standins/run.sh [windows-build-dir] [files]
exec bash "$(dirname "$0")/../engine/under-wine.sh" standins 1000 "$@"
