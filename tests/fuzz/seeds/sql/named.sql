SELECT id, name FROM q WHERE id > :Low AND name = ':x' -- :c
