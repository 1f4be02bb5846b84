"""The reference workload end to end with Jinja2, for make bench: load the
JSON model, render the template, write the text.

usage: render_jinja2.py MODEL.json TEMPLATE.j2 OUTPUT
"""
import json
import os
import sys

import jinja2


def main():
    model_path, template_path, output_path = sys.argv[1:4]
    with open(model_path, encoding="utf-8") as model_file:
        model = json.load(model_file)
    loader = jinja2.FileSystemLoader(os.path.dirname(os.path.abspath(template_path)))
    environment = jinja2.Environment(loader=loader, autoescape=False)
    text = environment.get_template(os.path.basename(template_path)).render(model)
    with open(output_path, "w", encoding="utf-8", newline="") as output_file:
        output_file.write(text)


if __name__ == "__main__":
    main()
