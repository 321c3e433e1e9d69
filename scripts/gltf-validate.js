#!/usr/bin/env node
// Checks glTF files with the Khronos validator installed by scripts/install-deps.sh and prints
// "FILE: E errors, W warnings" for each, followed by the errors themselves. Exit code 1 when
// any file has errors, 2 when the validator is not installed.
'use strict';
const fs = require('fs');
const path = require('path');

const root = process.env.VELDRA_GLTF_VALIDATOR ||
    path.join(__dirname, '..', 'build-tools', 'gltf-validator');
let validator;
try {
  validator = require(path.join(root, 'node_modules', 'gltf-validator'));
} catch (e) {
  console.error('gltf-validator is not installed in ' + root + ' (run scripts/install-deps.sh)');
  process.exit(2);
}

(async () => {
  let failed = false;
  for (const file of process.argv.slice(2)) {
    const report = await validator.validateBytes(new Uint8Array(fs.readFileSync(file)), {
      uri: path.basename(file),
      maxIssues: 0,
    });
    const issues = report.issues;
    console.log(`${file}: ${issues.numErrors} errors, ${issues.numWarnings} warnings`);
    for (const message of issues.messages) {
      if (message.severity === 0) console.log(`  ${message.code} ${message.pointer || ''}: ${message.message}`);
    }
    if (issues.numErrors > 0) failed = true;
  }
  process.exit(failed ? 1 : 0);
})();
