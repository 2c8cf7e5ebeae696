-- A Firebird user for the indicator that can read, and only read, the
-- tables it reads. Run it once on the production database as SYSDBA (or
-- the database owner), after choosing a password of the site's own:
--
--   isql-fb -user SYSDBA -password ... server:/path/FACTORY.FDB -i read-only-user.sql
--
-- Then, in /etc/tolvaneo/Marvessa.ini:
--   [Banco]
--   Usuario=TOLVANEO
--   SenhaArquivo=/etc/tolvaneo/senha
-- with the password alone in that file, readable only by the service user
-- (chown root:tolvaneo, chmod 640).

create or alter user TOLVANEO password 'change-me';
commit;

grant select on PRODUCAO_SETOR to user TOLVANEO;
grant select on ITENSPV to user TOLVANEO;
grant select on PRODUTO_TEMPO to user TOLVANEO;
grant select on TABELA to user TOLVANEO;
grant select on SETOR to user TOLVANEO;
grant select on FICHA_CORTE_ATU_SETOR to user TOLVANEO;
grant select on FICHA_CORTE to user TOLVANEO;
grant select on FICHA_CORTE_PROGRAMACOES to user TOLVANEO;
grant select on FACA to user TOLVANEO;
grant select on CODCXUNIT to user TOLVANEO;
grant select on PRODUCAO_EXPEDIENTE to user TOLVANEO;
grant select on PRODUCAO_OPERACAO_SETOR to user TOLVANEO;
grant select on PARAM to user TOLVANEO;
commit;
