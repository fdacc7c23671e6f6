// Opens the site's upload page in headless Chromium, picks the results store in the file field
// and sends the form, as the editor does after "Envoyer". Prints the answer page's heading.
// Usage: node upload.mjs UPLOAD_PAGE_URL STORE_FILE
import { chromium } from 'playwright-core';

const [pageUrl, storeFile] = process.argv.slice(2);
if (!pageUrl || !storeFile) {
  console.error('usage: node upload.mjs UPLOAD_PAGE_URL STORE_FILE');
  process.exit(2);
}

const browser = await chromium.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  headless: true,
  // Tests run as root, where Chromium's sandbox cannot start.
  args: ['--no-sandbox', '--no-proxy-server'],
});
try {
  const page = await browser.newPage();
  await page.goto(pageUrl, { timeout: 15000 });
  await page.setInputFiles('input[type=file]', storeFile);
  await Promise.all([
    page.waitForNavigation({ timeout: 15000 }),
    page.click('form [type=submit]'),
  ]);
  console.log((await page.textContent('h1'))?.trim() ?? '');
} finally {
  await browser.close();
}
