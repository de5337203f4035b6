#!/usr/bin/env bash
# Makes the registry editor fixtures of this folder with Wine (Debian's wine and wine64), in a
# throw-away Wine prefix. Not part of the build or of CI; run by hand when the fixtures change:
#   bash tests/settings/data/make-fixtures.sh
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
export WINEPREFIX=$(mktemp -d) WINEDEBUG=-all
trap 'wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT

add() { wine reg add "HKCU\\Software\\KX\\Orvani\\$1" /v "$2" /t "$3" /d "$4" /f > /dev/null; }

# The program's own values, with texts that need care: non-ASCII, quotes, backslashes, empty.
add Algemeen KleurAchtergrond REG_DWORD 0x00f5f2f1
add Algemeen KleurAchtergrondTitel REG_DWORD 0x00800000
add Algemeen KleurTitel REG_DWORD 0xff00000f
add Algemeen KleurDagenDezeMaand REG_DWORD 0
add Algemeen KleurDagenAndereMaand REG_DWORD 0x00800080
add Algemeen SysteemLade REG_DWORD 1
add Algemeen GeminimaliseerdOpstarten REG_DWORD 0
add Algemeen Weeknummers REG_DWORD 1
add Algemeen Vandaag REG_DWORD 1
add Algemeen Lettertype REG_SZ 'Café Sans'
add Algemeen Lettergrootte REG_DWORD 12
add Algemeen StatusTonen REG_DWORD 1
add Algemeen PositieMaand REG_DWORD 1
add Algemeen KopieerDatumFormaat REG_SZ 'dd "mm" \yyyy\ – ww'
add Algemeen HintSysteemLadeFormaat REG_SZ ''
add Algemeen AlphaBlend REG_DWORD 200
add Algemeen Taal REG_DWORD 0
add Algemeen AantalMaanden REG_DWORD 0
add Algemeen PictogrammenOplichten REG_DWORD 1
add Algemeen TitelsKnoppen REG_DWORD 1
add Algemeen Versie REG_SZ 2.2
# Every other kind the registry editor writes.
add Algemeen Pad REG_EXPAND_SZ '%HOME%\Kalender – Café'
add Algemeen Regels REG_MULTI_SZ 'één\0twee "2"\0C:\drie\'
add Algemeen Blok REG_BINARY "$(printf '%02x' $(seq 0 99))"
add Algemeen LeegBlok REG_BINARY ''
add Algemeen Groot REG_QWORD 0x0123456789abcdef
add Algemeen Niets REG_NONE ''
add Positie Breedte REG_DWORD 300
add Positie Hoogte REG_DWORD 250
add Positie Boven REG_DWORD 0xfffffff6
add Positie Links REG_DWORD 20
add Positie OpVoorgrond REG_DWORD 0

# What the registry editor exports today: UTF-16LE with a byte-order mark, CRLF.
wine regedit /E "$here/wine-utf16le.reg" 'HKEY_CURRENT_USER\Software\KX\Orvani'

# The other forms it reads, made from that export (Wine writes no other form):
iconv -f UTF-16LE -t UTF-16BE "$here/wine-utf16le.reg" > "$here/utf16be.reg"
iconv -f UTF-16LE -t UTF-8 "$here/wine-utf16le.reg" | tail -c +4 | sed 's/\r$//' > "$here/utf8-lf.reg"
{ printf '\xef\xbb\xbf'; iconv -f UTF-16LE -t UTF-8 "$here/wine-utf16le.reg" | tail -c +4; } > "$here/utf8-bom-crlf.reg"
python3 "$here/to-regedit4.py" "$here/wine-utf16le.reg" "$here/regedit4-cp1252.reg"

# The REGEDIT4 form must mean the same to Wine: imported and exported again, it gives the same.
wine reg delete 'HKCU\Software\KX\Orvani' /f > /dev/null
wine regedit /S "$here/regedit4-cp1252.reg"
wine regedit /E "$WINEPREFIX/again.reg" 'HKEY_CURRENT_USER\Software\KX\Orvani'
cmp "$here/wine-utf16le.reg" "$WINEPREFIX/again.reg"

# A file as people write it (by-hand.reg, written in a text editor: comments after values and
# inside a wrapped value, a value and a key deletion, no line feed at the end), imported over the
# values above: what Wine's registry editor makes of it.
wine regedit /S "$here/by-hand.reg"
wine regedit /E "$here/wine-by-hand.reg" 'HKEY_CURRENT_USER\Software\KX\Orvani'
echo "fixtures written to $here"
