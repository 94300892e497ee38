#!/usr/bin/env python3
"""ID3 tags read and written by mutagen, for the round-trip tests.

read FILE    prints the ID3v2 frames and the ID3v1 record as KEY=VALUE lines in
             UTF-8; single-byte text is taken as code page 1251
tag24 FILE   gives FILE a version 2.4 tag: UTF-16 text frames and a cover picture
tag23 FILE   gives FILE a version 2.3 tag in UTF-16 whose artist holds characters
             outside code page 1251, and a comment in Russian
encodings FILE  prints each text frame as FRAME=ENCODING:TEXT, the text as
             mutagen reads it (single bytes as ISO-8859-1), as other players show it
"""
import sys

from mutagen.id3 import (APIC, COMM, ID3, TALB, TCON, TDRC, TIT2, TPE1, TRCK,
                         Encoding, ParseID3v1)


def text(value, encoding):
    value = str(value)
    return value.encode('latin-1').decode('cp1251') if encoding == 0 else value


def read(path):
    tag = ID3(path, translate=False, load_v1=False)
    print('version=%d.%d' % tag.version[:2])
    for frame in tag.values():
        if frame.FrameID == 'APIC':
            print('APIC=%s:%d:%d' % (frame.mime, frame.type, len(frame.data)))
        elif frame.FrameID == 'USLT':
            print('USLT=%s:%s' % (frame.lang, text(frame.text, frame.encoding)))
        elif frame.FrameID == 'COMM':
            print('COMM=%s:%s' % (frame.lang, text(frame.text[0], frame.encoding)))
        elif frame.FrameID == 'TCON':
            print('TCON=%s' % text(frame.genres[0], frame.encoding))
        elif hasattr(frame, 'text'):
            print('%s=%s' % (frame.FrameID, text(frame.text[0], frame.encoding)))
    with open(path, 'rb') as f:
        f.seek(-128, 2)
        v1 = ParseID3v1(f.read())
    for frame_id, frame in (v1 or {}).items():
        value = frame.genres[0] if frame_id == 'TCON' else frame.text[0]
        print('v1.%s=%s' % (frame_id, text(value, 0)))


def tag24(path):
    tag = ID3()
    tag.add(TIT2(encoding=Encoding.UTF16, text='Звезда по имени Солнце'))
    tag.add(TPE1(encoding=Encoding.UTF16, text='Кино'))
    tag.add(TALB(encoding=Encoding.UTF16, text='Группа крови'))
    tag.add(TRCK(encoding=Encoding.UTF16, text='3/12'))
    tag.add(TDRC(encoding=Encoding.UTF16, text='1988'))
    tag.add(TCON(encoding=Encoding.UTF16, text='Rock'))
    tag.add(COMM(encoding=Encoding.UTF16, lang='rus', desc='', text='Ленинград'))
    tag.add(APIC(encoding=Encoding.UTF8, mime='image/png', type=3, desc='Обложка',
                 data=bytes(range(256)) * 8))
    tag.save(path, v2_version=4)


def tag23(path):
    tag = ID3()
    tag.add(TIT2(encoding=Encoding.UTF16, text='Ace of Spades'))
    tag.add(TPE1(encoding=Encoding.UTF16, text='Motörhead – Ace ☆'))
    tag.add(COMM(encoding=Encoding.UTF16, lang='rus', desc='', text='Хорошая'))
    tag.save(path, v2_version=3)


def encodings(path):
    tag = ID3(path, translate=False, load_v1=False)
    print('version=%d.%d' % tag.version[:2])
    for frame in tag.values():
        if frame.FrameID == 'COMM':
            print('COMM=%d:%s:%s' % (frame.encoding, frame.desc, frame.text[0]))
        elif hasattr(frame, 'text') and frame.FrameID != 'USLT':
            print('%s=%d:%s' % (frame.FrameID, frame.encoding, '|'.join(str(t) for t in frame.text)))


if __name__ == '__main__':
    {'read': read, 'tag24': tag24, 'tag23': tag23, 'encodings': encodings}[sys.argv[1]](sys.argv[2])
