#!/usr/bin/env python3
"""Prints the library's own types as abidw describes them, one canonical block per type.

abidiff follows only the types that exported functions reach, and a record held in a Qt container
is not among them (QList<T> keeps no member of type T), yet clients read such records in place.
Comparing this listing catches a change to any of them. Qt's own types and the translation units
they happen to be described in are left out, so that an internal change of the library (a new
source file, an include more or less) does not count as a change of its interface.

usage: owntypes.py DESCRIPTION.abi HEADERS_DIR
"""
import pathlib
import re
import sys
import xml.etree.ElementTree as ET

description, headers = sys.argv[1], pathlib.Path(sys.argv[2])
declared = set()
for header in headers.rglob("*.h"):
    declared.update(re.findall(r"^\s*(?:struct|class|enum)\s+(?:\w+_EXPORT\s+)?(\w+)\b(?!;)",
                               header.read_text(), re.M))

blocks = {}
for element in ET.parse(description).getroot().iter():
    if element.tag not in ("class-decl", "enum-decl", "typedef-decl"):
        continue
    if element.get("name") not in declared or element.get("is-declaration-only") == "yes":
        continue
    for e in element.iter():
        e.tail = None
        e.text = None
    blocks.setdefault(element.get("name"), set()).add(ET.tostring(element, encoding="unicode"))

for name in sorted(blocks):
    for block in sorted(blocks[name]):
        print(block.replace("><", ">\n<"))
