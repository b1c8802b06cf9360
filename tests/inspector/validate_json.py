"""Checks the inspector's JSON output against its schema: validate_json.py SCHEMA OUTPUT.

Runs on Debian's python3-jsonschema 4.10, which resolves $ref only against an absolute $id:
the schema's $id is a URN and every $ref points inside the document, so nothing is fetched."""
import json
import sys

import jsonschema

with open(sys.argv[1]) as schema_file, open(sys.argv[2]) as output_file:
    schema, output = json.load(schema_file), json.load(output_file)
# A broken schema would otherwise pass any output.
jsonschema.Draft7Validator.check_schema(schema)
errors = sorted(jsonschema.Draft7Validator(schema).iter_errors(output), key=lambda e: list(e.path))
for error in errors:
    print("/".join(str(p) for p in error.path) + ": " + error.message)
sys.exit(1 if errors else 0)
