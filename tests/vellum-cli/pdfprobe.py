#!/usr/bin/python3
"""Reads what the vellum command wrote, independently of vellum's own code,
and prints it as flat lines "/path<TAB>value": strings as they are (line
feeds as \\n), other values as JSON, and for an array a "/path/#" line with
its length.

  pdfprobe.py json FILE         a JSON document, as is
  pdfprobe.py annots PDF        each page's rotation, media box and annotations
  pdfprobe.py ppm PNG OUT.ppm   converts an image for the tests to read
  pdfprobe.py forbid-annots IN OUT
        a copy of IN (empty user password) that permits no annotations
"""
import json
import sys


def flatten(value, path=""):
    if isinstance(value, dict):
        for key, item in value.items():
            flatten(item, f"{path}/{key}")
    elif isinstance(value, list):
        print(f"{path}/#\t{len(value)}")
        for index, item in enumerate(value):
            flatten(item, f"{path}/{index}")
    elif isinstance(value, str):
        print(f"{path}\t{value}".replace("\n", "\\n"))
    else:
        print(f"{path}\t{json.dumps(value)}")


def numbers(array):
    return [float(v) for v in array] if array is not None else None


def annots(path):
    import pypdf

    reader = pypdf.PdfReader(path)
    pages = []
    for page in reader.pages:
        found = []
        for ref in page.get("/Annots") or []:
            annot = ref.get_object()
            opacity = annot.get("/CA")
            found.append({
                "subtype": str(annot.get("/Subtype")),
                "quads": numbers(annot.get("/QuadPoints")),
                "color": numbers(annot.get("/C")),
                "opacity": float(opacity) if opacity is not None else None,
                "author": str(annot.get("/T")) if "/T" in annot else None,
            })
        pages.append({
            "rotate": int(page.get("/Rotate", 0)),
            "mediaBox": numbers(page.mediabox),
            "annots": found,
        })
    return {"pages": pages}


def forbid_annots(source, target):
    import pypdf
    from pypdf.constants import UserAccessPermissions as Allow

    writer = pypdf.PdfWriter()
    for page in pypdf.PdfReader(source).pages:
        writer.add_page(page)
    writer.encrypt(user_password="", owner_password="owner",
                   permissions_flag=Allow.PRINT | Allow.EXTRACT)
    with open(target, "wb") as f:
        writer.write(f)


def main(argv):
    if argv[1] == "json":
        with open(argv[2], encoding="utf-8") as f:
            flatten(json.load(f))
    elif argv[1] == "annots":
        flatten(annots(argv[2]))
    elif argv[1] == "ppm":
        from PIL import Image

        Image.open(argv[2]).convert("RGB").save(argv[3])
    elif argv[1] == "forbid-annots":
        forbid_annots(argv[2], argv[3])
    else:
        sys.exit(f"unknown request {argv[1]}")


if __name__ == "__main__":
    main(sys.argv)
