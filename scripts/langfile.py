#!/usr/bin/env python3
"""Reads and edits the plug-in's language files, which are stored as UTF-16LE with a byte order mark and CRLF
line ends (the form the Windows profile functions read on any system code page).

  langfile.py dump FILE                      print the file as UTF-8
  langfile.py set FILE SECTION KEY VALUE     set a key (section appended when missing)
  langfile.py write FILE < utf8-text         replace the whole file with the given UTF-8 text
"""
import sys


def read(path):
    with open(path, 'rb') as f:
        data = f.read()
    if data.startswith(b'\xff\xfe'):
        return data[2:].decode('utf-16-le')
    return data.decode('utf-8-sig')


def write(path, text):
    lines = text.replace('\r\n', '\n').split('\n')
    while lines and lines[-1] == '':
        lines.pop()
    with open(path, 'wb') as f:
        f.write(b'\xff\xfe' + ('\r\n'.join(lines) + '\r\n').encode('utf-16-le'))


def set_key(path, section, key, value):
    lines = read(path).replace('\r\n', '\n').split('\n')
    start = None
    for i, line in enumerate(lines):
        if line.strip().lower() == '[' + section.lower() + ']':
            start = i
            break
    if start is None:
        while lines and lines[-1] == '':
            lines.pop()
        lines += ['', '[' + section + ']', key + '=' + value]
    else:
        end = start + 1
        while end < len(lines) and not lines[end].strip().startswith('['):
            end += 1
        for i in range(start + 1, end):
            if '=' in lines[i] and lines[i].split('=', 1)[0].strip().lower() == key.lower():
                lines[i] = key + '=' + value
                break
        else:
            insert = end
            while insert > start + 1 and lines[insert - 1].strip() == '':
                insert -= 1
            lines.insert(insert, key + '=' + value)
    write(path, '\n'.join(lines))


def main(argv):
    if len(argv) >= 3 and argv[1] == 'dump':
        sys.stdout.write(read(argv[2]))
    elif len(argv) == 6 and argv[1] == 'set':
        set_key(argv[2], argv[3], argv[4], argv[5])
    elif len(argv) == 3 and argv[1] == 'write':
        write(argv[2], sys.stdin.read())
    else:
        sys.stderr.write(__doc__)
        return 2
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
