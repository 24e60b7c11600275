// Runs the Khronos glTF validator on .glb files: one line per file,
//   FILE errors N warnings M CODE...
// listing the codes of the errors and warnings.
// Usage: node validate_gltf.cjs VALIDATOR_FOLDER FILE.glb...
const fs = require('fs');
const path = require('path');
const validator = require(path.resolve(process.argv[2], 'node_modules', 'gltf-validator'));

(async () => {
  for (const file of process.argv.slice(3)) {
    const report = await validator.validateBytes(new Uint8Array(fs.readFileSync(file)));
    const codes = new Set(report.issues.messages.filter((m) => m.severity <= 1).map((m) => m.code));
    console.log(`${file} errors ${report.issues.numErrors} warnings ${report.issues.numWarnings} ${[...codes].join(' ')}`);
  }
})().catch((error) => {
  console.error(error.message);
  process.exit(2);
});
