#!/usr/bin/python3
"""The user's guide holds together: every picture it shows is in images/, every picture of images/
is shown, each has a text for those who cannot see it, every link inside the page lands on a
heading that exists, and nothing in it needs what the site's page policy forbids (scripts, inline
styles)."""
import html.parser
import pathlib
import sys


class Guide(html.parser.HTMLParser):
    def __init__(self):
        super().__init__()
        self.images, self.anchors, self.ids, self.missing_alt = [], [], set(), []
        self.forbidden = []

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        if tag in ("script", "style") or "style" in a or any(k.startswith("on") for k in a):
            self.forbidden.append(tag)
        if "id" in a:
            self.ids.add(a["id"])
        if tag == "img":
            self.images.append(a.get("src", ""))
            if not a.get("alt", "").strip():
                self.missing_alt.append(a.get("src", ""))
        if tag == "a" and a.get("href", "").startswith("#"):
            self.anchors.append(a["href"][1:])


def main(folder):
    folder = pathlib.Path(folder)
    guide = Guide()
    guide.feed((folder / "index.html").read_text(encoding="utf-8"))
    problems = []
    shown = set(guide.images)
    on_disk = {"images/" + p.name for p in (folder / "images").glob("*")}
    problems += [f"image absente de images/ : {src}" for src in sorted(shown - on_disk)]
    problems += [f"image jamais montrée par le guide : {name}" for name in sorted(on_disk - shown)]
    problems += [f"image sans texte de remplacement : {src}" for src in guide.missing_alt]
    problems += [f"lien vers une ancre absente : #{a}" for a in guide.anchors if a not in guide.ids]
    problems += [f"refusé par la politique des pages du site : <{t}>" for t in guide.forbidden]
    if not shown:
        problems.append("le guide ne montre aucune image")
    for p in problems:
        print(p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
